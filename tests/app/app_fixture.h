#pragma once
// A main window on the offscreen platform with recorded message boxes and scripted file
// dialogs, and helpers that make and save projects the way the program does.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "editors/app_dialogs.h"
#include "project/language_lists.h"
#include "project/new_project.h"
#include "project/project_file.h"
#include "test_support.h"

namespace bvq::test {

struct ShownMessage {
  QMessageBox::Icon icon;
  QString caption, text;
};

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    settingsPath = dir.Path() + "config/Belvandorithquessal.conf";
    AppDialogs& d = Dialogs();
    d.message = [this](QWidget*, QMessageBox::Icon icon, const QString& caption, const QString& text,
                       QMessageBox::StandardButtons buttons) {
      messages.push_back({icon, caption, text});
      if (!answers.empty()) {
        auto answer = answers.front();
        answers.pop_front();
        return answer;
      }
      if (buttons != QMessageBox::Ok) ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return QMessageBox::Ok;
    };
    d.openFile = [this](QWidget*, const QString&, const QString&, const QString&) { return TakeAnswer(openAnswers); };
    d.saveFile = [this](QWidget*, const QString& caption, const QString& proposed, const QString&) {
      saveCaptions.push_back(caption);
      saveProposals.push_back(proposed);
      return TakeAnswer(saveAnswers);
    };
    form = std::make_unique<app::TMainForm>("English", settingsPath);
    form->show();
  }
  void TearDown() override {
    form.reset();
    ResetDialogs();
  }

  static QString TakeAnswer(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    QString a = answers.front();
    answers.pop_front();
    return a;
  }

  template <class W>
  W* Widget(const char* name) {
    W* w = form->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  // A new project as the program makes one (install languages of the program folder).
  static Project NewSampleProject() {
    Project p;
    ProjectSession session(p);
    p.SetInstallLanguages(InstallLanguageCaptions("English"));
    ProjectContext context;
    NewProject(p, session, context);
    return p;
  }

  std::string SaveSample(Project& p, const std::string& name) {
    ProjectContext context;
    ProjectSession session(p);
    const std::string path = dir.Path() + name;
    const Status saved = SaveProject(p, session, path, context);
    EXPECT_TRUE(saved) << saved.error;
    return path;
  }

  TempFolder dir;
  std::string settingsPath;
  std::unique_ptr<app::TMainForm> form;
  std::vector<ShownMessage> messages;
  std::deque<QMessageBox::StandardButton> answers;
  std::deque<QString> openAnswers, saveAnswers;
  std::vector<QString> saveCaptions, saveProposals;
};

}  // namespace bvq::test
