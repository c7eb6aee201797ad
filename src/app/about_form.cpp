#include "app/about_form.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "editors/app_dialogs.h"
#include "app/web_addresses.h"
#include "app/window_icons.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "platform/system_info.h"
#include "project/interface_text_ids.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq::app {
namespace {

// The link's colours: navy at rest, blue under the mouse.
constexpr const char* kLinkColour = "#000080";
constexpr const char* kHoveredLinkColour = "#0000ff";

}  // namespace

TAboutForm::TAboutForm(const std::string& interfaceLanguage, QWidget* parent) : QDialog(parent) {
  setObjectName("AboutForm");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  const QString version = QString::fromStdString(ProgramVersion());
  const QString product = QString::fromUtf8(kProgramName) + " " + version;
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(12);
  auto label = [&](const char* name, const QString& text, int row, int column, int span = 1) {
    auto* l = new QLabel(text);
    l->setObjectName(name);
    grid->addWidget(l, row, column, 1, span);
    return l;
  };
  auto* picture = new QLabel;
  picture->setObjectName("Image1");
  picture->setPixmap(WindowIcon(WindowIconKind::About).pixmap(64, 64));
  picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  grid->addWidget(picture, 0, 0, 4, 1);
  QFont big = font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  label("Label3", product, 0, 1, 2)->setFont(big);
  label("Label5", product, 1, 1, 2);
  label("Label1", QString(), 2, 1);
  label("VersionLabel", version, 2, 2);
  label("Label6", QString(), 3, 1);
  label("DateLabel", QString::fromStdString(FileDateText(QCoreApplication::applicationFilePath().toStdString())), 3, 2);
  label("Label4", QString(), 4, 1);
  const QString address = HomePageAddress(interfaceLanguage);
  QLabel* link = label("URLLabel", address, 4, 2);
  link->setToolTip(address);
  link->setCursor(Qt::PointingHandCursor);
  link->installEventFilter(this);
  QLabel* notice = label("Label2", QString(), 5, 0, 3);
  notice->setWordWrap(true);
  notice->setMinimumWidth(360);
  auto* ok = new QPushButton;
  ok->setObjectName("Button1");
  ok->setDefault(true);
  grid->addWidget(ok, 6, 2, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  ShowLinkHovered(false);
  ApplyWindowTexts(this, "AboutForm");
  setWindowTitle(IString(kTextAbout));
  setWindowIcon(WindowIcon(WindowIconKind::About));
}

void TAboutForm::ShowLinkHovered(bool hovered) {
  auto* link = findChild<QLabel*>("URLLabel");
  QFont f = link->font();
  f.setUnderline(hovered);
  link->setFont(f);
  link->setStyleSheet(QString("color: %1").arg(hovered ? kHoveredLinkColour : kLinkColour));
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched->objectName() == "URLLabel") {
    switch (event->type()) {
      case QEvent::Enter: ShowLinkHovered(true); break;
      case QEvent::Leave: ShowLinkHovered(false); break;
      case QEvent::MouseButtonRelease:
        QCoreApplication::processEvents();
        Dialogs().openUrl(QUrl(static_cast<QLabel*>(watched)->toolTip()));
        break;
      default: break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace bvq::app
