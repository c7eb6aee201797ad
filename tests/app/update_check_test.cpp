// The update check: the update file's rules, and the update window against a real HTTP server
// on the loopback address (newer, same, beta, invalid files, HTTP errors, a refused
// connection, a silent server, a reply far too large), Cancel, and the Help menu's addresses.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <filesystem>

#include "app/update_file.h"
#include "app/update_form.h"
#include "app/web_addresses.h"
#include "app_fixture.h"
#include "loopback_http_server.h"
#include "project/interface_strings.h"
#include "util/code_page.h"
#include "util/program_values.h"

namespace bvq::test {
namespace {

using Mode = LoopbackHttpServer::Mode;

QString Q(int index) { return QString::fromStdString(AnsiToUtf8(InterfaceString(index))); }

TEST(UpdateFile, VersionNumbers) {
  const struct { const char* text; std::int64_t number; } good[] = {
      {"5.04", 504}, {"5.10", 510}, {"5.04 beta 3", 504}, {"12", 12}, {"1.2.3", 123}, {"0.00", 0}};
  for (const auto& c : good) EXPECT_EQ(app::VersionNumber(c.text), c.number) << c.text;
  for (const char* bad : {"", ".", "five", "5,04", " 5.04", "5.04a", "-5", "1234567890123456789"})
    EXPECT_FALSE(app::VersionNumber(bad)) << bad;
}

TEST(UpdateFile, Lines) {
  auto file = app::ParseUpdateFile("5.10\r\nhttp://host/get.html\r\nBelvandorithquessal\r\nignored\n");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->version, 510);
  EXPECT_EQ(file->downloadPage, "http://host/get.html");
  EXPECT_TRUE(app::ParseUpdateFile("5.10\nx\nBelvandorithquessal"));
  for (const char* bad : {"", "5.10\nx\n", "5.10\nx\nbelvandorithquessal\n", "5.10\nx\nBelvandorithquessal \n",
                          "five\nx\nBelvandorithquessal\n", "<html>\n<body>\nBelvandorithquessal\n"})
    EXPECT_FALSE(app::ParseUpdateFile(bad)) << bad;
}

class UpdateCheckTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    Dialogs().openUrl = [this](const QUrl& url) {
      opened.push_back(url.toString());
      return true;
    };
  }

  // Runs the update window against `address` until it closes by itself.
  void Check(const QString& address, const std::string& running, int timeLimitMs = 10000) {
    app::TUpdateForm window(form.get(), address, running);
    window.SetTimeLimit(timeLimitMs);
    QSignalSpy closed(&window, &QDialog::finished);
    window.open();
    ASSERT_TRUE(closed.wait(timeLimitMs + 10000)) << address.toStdString();
    status = window.findChild<QLabel*>("Label1")->text();
    button = window.findChild<QPushButton*>("Button1")->text();
    progress = window.findChild<QProgressBar*>("ProgressBar1")->value();
  }

  LoopbackHttpServer server;
  std::vector<QString> opened;
  QString status, button;
  int progress = -1;
};

constexpr char kNewer[] = "5.10\r\nhttp://127.0.0.1/download.html\r\nBelvandorithquessal\r\n";

TEST_F(UpdateCheckTest, NewerVersionOffersTheDownloadPage) {
  server.Add("/update.txt", {Mode::Answer, 200, kNewer});
  answers.push_back(QMessageBox::Yes);
  Check(server.Url("/update.txt"), "5.04");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, QMessageBox::Information);
  EXPECT_EQ(messages[0].text, Q(129));
  EXPECT_EQ(opened, std::vector<QString>{"http://127.0.0.1/download.html"});
  EXPECT_EQ(status, Q(168));
  EXPECT_EQ(button, Q(126));
  EXPECT_EQ(progress, 100);
  // The request names the program and asks past any cache.
  EXPECT_TRUE(server.LastRequest().contains("User-Agent: Belvandorithquessal\r\n")) << server.LastRequest().data();
  EXPECT_TRUE(server.LastRequest().contains("GET /update.txt HTTP/1.1"));

  // Declining opens nothing.
  answers.push_back(QMessageBox::No);
  Check(server.Url("/update.txt"), "5.04");
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(UpdateCheckTest, VersionsCompareAsNumbers) {
  server.Add("/504.txt", {Mode::Answer, 200, "5.04\nhttp://127.0.0.1/d\nBelvandorithquessal\n"});
  server.Add("/505.txt", {Mode::Answer, 200, "5.05\nhttp://127.0.0.1/d\nBelvandorithquessal\n"});
  const struct {
    const char* path;
    const char* running;
    bool offered;
  } cases[] = {
      {"/504.txt", "5.04", false},        // the same version
      {"/504.txt", "5.10", false},        // an older file
      {"/504.txt", "5.04 beta 3", false}, // a beta compares as its number
      {"/505.txt", "5.04 beta 3", true},
      {"/505.txt", "5.04", true},
  };
  for (const auto& c : cases) {
    messages.clear();
    if (c.offered) answers.push_back(QMessageBox::No);
    Check(server.Url(c.path), c.running);
    ASSERT_EQ(messages.size(), 1u) << c.path << " " << c.running;
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(messages[0].text, Q(c.offered ? 129 : 127)) << c.path << " " << c.running;
  }
  EXPECT_TRUE(opened.empty());
}

TEST_F(UpdateCheckTest, EveryFailureSaysTheUpdateInformationCouldNotBeRead) {
  server.Add("/product.txt", {Mode::Answer, 200, "5.10\nhttp://127.0.0.1/d\nBELVANDORITHQUESSAL\n"});
  server.Add("/number.txt", {Mode::Answer, 200, "latest\nhttp://127.0.0.1/d\nBelvandorithquessal\n"});
  server.Add("/short.txt", {Mode::Answer, 200, "5.10\nhttp://127.0.0.1/d\n"});
  server.Add("/error.html", {Mode::Answer, 200, "<!DOCTYPE html>\n<html><head><title>Error</title></head>\n"
                                                "<body>Service unavailable</body></html>\n"});
  // A valid update file served with an error status is still an error.
  server.Add("/missing.txt", {Mode::Answer, 404, kNewer});
  server.Add("/failing.txt", {Mode::Answer, 500, kNewer});
  server.Add("/silent.txt", {Mode::Silent, 200, {}});
  server.Add("/huge.txt", {Mode::HugeAnnounced, 200, {}});
  server.Add("/endless.txt", {Mode::HugeUnannounced, 200, {}});
  QTcpServer closedPort;
  ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost, 0));
  const QString refused = QString("http://127.0.0.1:%1/update.txt").arg(closedPort.serverPort());
  closedPort.close();

  const QString addresses[] = {server.Url("/product.txt"), server.Url("/number.txt"),  server.Url("/short.txt"),
                               server.Url("/error.html"),  server.Url("/missing.txt"), server.Url("/failing.txt"),
                               server.Url("/silent.txt"),  refused,                    server.Url("/huge.txt"),
                               server.Url("/endless.txt")};
  for (const QString& address : addresses) {
    messages.clear();
    Check(address, "5.04", 2000);
    ASSERT_EQ(messages.size(), 1u) << address.toStdString();
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning) << address.toStdString();
    EXPECT_EQ(messages[0].caption, "Belvandorithquessal");
    EXPECT_EQ(messages[0].text, Q(121)) << address.toStdString();
    EXPECT_EQ(status, Q(122));
    EXPECT_EQ(button, Q(126));
    EXPECT_EQ(progress, 0);
  }
  EXPECT_TRUE(opened.empty());
  // The large replies were refused long before their end.
  EXPECT_LT(server.StreamedBytes(), LoopbackHttpServer::kHugeBytes);
}

TEST_F(UpdateCheckTest, CancelClosesAtOnceAndShowsNothing) {
  server.Add("/silent.txt", {Mode::Silent, 200, {}});
  app::TUpdateForm window(form.get(), server.Url("/silent.txt"), "5.04");
  QSignalSpy closed(&window, &QDialog::finished);
  window.open();
  EXPECT_EQ(window.findChild<QPushButton*>("Button1")->text(), Q(125));
  EXPECT_EQ(window.windowTitle(), Q(169));
  // Past the start timer and the pause: the request is under way.
  QTest::qWait(1200);
  ASSERT_TRUE(closed.isEmpty());
  EXPECT_EQ(window.findChild<QProgressBar*>("ProgressBar1")->value(), 30);
  window.findChild<QPushButton*>("Button1")->click();
  EXPECT_EQ(closed.size(), 1);
  EXPECT_EQ(window.result(), QDialog::Rejected);
  QTest::qWait(300);
  EXPECT_TRUE(messages.empty());
}

TEST(UpdateAddress, TheEnvironmentOverridesTheUpdateFile) {
  qunsetenv("BVQ_UPDATE_URL");
  EXPECT_TRUE(app::UpdateFileAddress().endsWith("/update.txt"));
  EXPECT_TRUE(app::UpdateFileAddress().startsWith(app::HomePageAddress("English")));
  qputenv("BVQ_UPDATE_URL", "http://127.0.0.1:9/mirror/update.txt");
  EXPECT_EQ(app::UpdateFileAddress(), "http://127.0.0.1:9/mirror/update.txt");
  qunsetenv("BVQ_UPDATE_URL");
  EXPECT_NE(app::HomePageAddress("Russian"), app::HomePageAddress("English"));
  EXPECT_EQ(app::SupportPageAddress("German"), app::HomePageAddress("English") + "support.html");
}

class HelpMenuTest : public UpdateCheckTest {};

TEST_F(HelpMenuTest, WebActionsOpenTheMakersPages) {
  auto trigger = [this](const char* name) {
    QAction* action = form->findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  };
  trigger("ActHomePage");
  trigger("ActMailSupport");
  EXPECT_EQ(opened, (std::vector<QString>{app::HomePageAddress("English"), app::SupportPageAddress("English")}));
  auto* homeButton = form->findChild<QWidget*>("ToolButton9");
  ASSERT_NE(homeButton, nullptr);
  EXPECT_FALSE(homeButton->toolTip().isEmpty());
}

TEST_F(HelpMenuTest, F1WithoutAHelpFileSaysSoAndOpensOneWhenPresent) {
  const std::string help = ProgramFolder() + "enghelp.chm";
  std::filesystem::remove(help);
  form->findChild<QAction*>("ActHelp")->trigger();
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(form->StatusText(0).contains(QString::fromStdString(help))) << form->StatusText(0).toStdString();

  WriteFile(help, "help");
  form->findChild<QAction*>("ActHelp")->trigger();
  std::filesystem::remove(help);
  EXPECT_EQ(opened, std::vector<QString>{QUrl::fromLocalFile(QString::fromStdString(help)).toString()});
}

}  // namespace
}  // namespace bvq::test
