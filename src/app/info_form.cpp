#include "app/info_form.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <thread>

#include "app/project_info.h"
#include "editors/app_dialogs.h"
#include "app/window_icons.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "project/interface_text_ids.h"
#include "util/paths.h"

namespace bvq::app {
namespace {

// What a title bar takes besides the title: the icon and the close button with margins.
constexpr int kTitleBarExtras = 140;

}  // namespace

TInfoForm::TInfoForm(const Project& project, const ProjectSession& session, QWidget* parent) : QDialog(parent) {
  setObjectName("InfoForm");
  setWindowIcon(WindowIcon(WindowIconKind::Information));
  const std::string name = project.filePath.empty() ? "Project1" : ExtractFileName(project.filePath);
  setWindowTitle(IString(kTextProjectInformation) + DiskToQ(name));
  auto* grid = new QGridLayout(this);
  const char* rows[][2] = {{"Label1", "Label4"}, {"Label2", "Label5"}, {"Label3", "Label6"}, {"Label7", "Label8"}};
  int r = 0;
  for (const auto& row : rows) {
    auto* caption = new QLabel;
    caption->setObjectName(row[0]);
    auto* value = new QLabel("...");
    value->setObjectName(row[1]);
    grid->addWidget(caption, r, 0);
    grid->addWidget(value, r++, 1);
  }
  auto* ok = new QPushButton;
  ok->setObjectName("Button1");
  grid->addWidget(ok, r, 1, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  ApplyWindowTexts(this, "InfoForm");
  // Wide enough for its title beside the title bar's icon and buttons.
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarExtras);

  // The sizes are read on a thread of their own; the results come back to this window only
  // while it exists.
  QPointer<TInfoForm> self(this);
  std::thread([self, count = project.files.size(), sources = InfoSourceFiles(project),
               setup = session.lastSetupSizeText, volumes = session.lastVolumeIndex] {
    const ProjectInfoTexts t = ComputeProjectInfo(count, sources, setup, volumes);
    QMetaObject::invokeMethod(qApp, [self, t] {
      if (!self) return;
      self->findChild<QLabel*>("Label4")->setText(ToQ(t.fileCount));
      self->findChild<QLabel*>("Label5")->setText(ToQ(t.totalSize));
      self->findChild<QLabel*>("Label6")->setText(ToQ(t.setupSize));
      self->findChild<QLabel*>("Label8")->setText(ToQ(t.volumes));
      emit self->filled();
    }, Qt::QueuedConnection);
  }).detach();
}

QString TInfoForm::Text(const char* label) const {
  auto* l = findChild<QLabel*>(label);
  return l ? l->text() : QString();
}

}  // namespace bvq::app
