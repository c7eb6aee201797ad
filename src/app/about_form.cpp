#include "app/about_form.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "editors/app_dialogs.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "platform/system_info.h"
#include "project/interface_text_ids.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq::app {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutForm");
  setWindowTitle(IString(kTextAbout));
  const QString product = QString::fromUtf8(kProgramName) + " " + QString::fromStdString(ProgramVersion());
  auto* grid = new QGridLayout(this);
  auto label = [&](const char* name, const QString& text, int row, int column, int span = 1) {
    auto* l = new QLabel(text);
    l->setObjectName(name);
    grid->addWidget(l, row, column, 1, span);
    return l;
  };
  QFont big = font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  label("Label3", product, 0, 0, 2)->setFont(big);
  label("Label5", product, 1, 0, 2);
  label("Label1", "Version:", 2, 0);
  label("VersionLabel", QString::fromStdString(ProgramVersion()), 2, 1);
  label("Label2", "Date:", 3, 0);
  label("DateLabel", QString::fromStdString(FileDateText(QCoreApplication::applicationFilePath().toStdString())), 3, 1);
  auto* ok = new QPushButton("OK");
  ok->setObjectName("Button1");
  ok->setDefault(true);
  grid->addWidget(ok, 4, 1, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  ApplyWindowTexts(this, "AboutForm");
}

}  // namespace bvq::app
