// Every window under the Russian interface: each visible text of each widget, menu and action
// differs from what the same widget shows under the English interface (apart from a few proper
// names), and each can be written in the Russian code page (a caption decoded through the
// wrong code page cannot). The language menu names each language in its own script.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <set>

#include "app/about_form.h"
#include "app/compile_form.h"
#include "app/info_form.h"
#include "app/settings_form.h"
#include "app/update_form.h"
#include "app_fixture.h"
#include "editors/entry_dialogs.h"
#include "editors/window_texts.h"
#include "project/language_files.h"
#include "util/code_page.h"

namespace bvq::test {
namespace {

// Texts that stay the same in every language: the product's name and version, the date in
// the fixed English form, the web address, the languages' own names...
const std::set<QString> kSameInEveryLanguage = {"Label3", "Label5", "VersionLabel", "DateLabel", "URLLabel"};
// ...the names of registry roots and value types, the fixed window words of commands that the
// installer reads back, sizes in the fixed "Kb" form, a font sample, a technology's name.
const QRegularExpression kNamesAndFixedWords(
    "^(HKEY_[A-Z_]+|REG_[A-Z_]+|Normal|Maximize|Minimize|Hide|[0-9 ,]+ [KMG]b|Aa|ActiveX|"
    "Belvandorithquessal [0-9.]+( beta [0-9]+)?(\\[\\*\\])?)$");
bool SameInEveryLanguage(const QString& objectName, const QString& text) {
  return kSameInEveryLanguage.count(objectName) || objectName.startsWith("Lang") ||
         kNamesAndFixedWords.match(text).hasMatch();
}
// The licence and information captions come with the rich-text editor's own change.
const std::set<QString> kCaptionsOfAnotherChange = {"LicenseComboBoxLabel", "Edit7Label", "InfoComboBoxLabel",
                                                     "Edit5Label"};

// A widget's place in its window: the names (or class and position) from the window down.
QString PathOf(const QObject* o, const QObject* window) {
  QStringList parts;
  for (; o && o != window; o = o->parent()) {
    QString part = o->objectName();
    if (part.isEmpty() && o->parent()) {
      int index = 0;
      for (const QObject* sibling : o->parent()->children()) {
        if (sibling == o) break;
        if (sibling->metaObject() == o->metaObject() && sibling->objectName().isEmpty()) ++index;
      }
      part = QString("%1#%2").arg(o->metaObject()->className()).arg(index);
    }
    parts.prepend(part);
  }
  return parts.join('/');
}

using Texts = std::map<QString, QString>;  // place and what -> text

// Every text a person can see in `window`: captions, titles, items, headings, hints.
Texts VisibleTexts(QWidget* window) {
  Texts texts;
  auto add = [&](const QObject* o, const QString& what, const QString& text) {
    if (!text.trimmed().isEmpty()) texts[PathOf(o, window) + " " + what] = text;
  };
  add(window, "title", window->windowTitle());
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->isHidden() && w->parent() && !w->parentWidget()->inherits("QStackedWidget") && !qobject_cast<QMenu*>(w))
      continue;
    if (auto* l = qobject_cast<QLabel*>(w)) add(w, "text", l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) add(w, "text", b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) add(w, "title", g->title());
    if (auto* m = qobject_cast<QMenu*>(w)) add(w, "title", m->title());
    if (auto* t = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < t->count(); ++i) add(w, QString("tab %1").arg(i), t->tabText(i));
    if (auto* c = qobject_cast<QComboBox*>(w); c && !c->isEditable())
      for (int i = 0; i < c->count(); ++i) add(w, QString("item %1").arg(i), c->itemText(i));
    if (auto* tree = qobject_cast<QTreeWidget*>(w))
      for (int i = 0; i < tree->columnCount(); ++i) add(w, QString("heading %1").arg(i), tree->headerItem()->text(i));
    add(w, "hint", w->toolTip());
  }
  for (QAction* a : window->findChildren<QAction*>()) {
    if (!a->isVisible() || a->isSeparator()) continue;
    add(a, "text", a->text());
    if (a->toolTip() != a->text()) add(a, "hint", a->toolTip());
  }
  return texts;
}

bool HasLetters(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// Opens each window of the program once in the current interface language.
std::map<QString, Texts> EveryWindow(app::TMainForm& main) {
  std::map<QString, Texts> all;
  all["MainForm"] = VisibleTexts(&main);
  auto take = [&](QWidget* w) { all[w->objectName()] = VisibleTexts(w); };
  { app::TAboutForm w(main.InterfaceLanguage(), &main); take(&w); }
  { app::TInfoForm w(main.project(), main.session(), &main); take(&w); }
  { app::TSettingsForm w(SettingsStore::DefaultPath(), &main); take(&w); }
  { app::TUpdateForm w(&main, "http://127.0.0.1:9/update.txt"); take(&w); }
  { app::TCompileForm w(main.project(), main.session(), &main, 3600000); take(&w); }
  FileHandOver handOver;
  for (int list = 1; list <= 11; ++list) {
    auto dialog = CreateEntryDialog(&main, main.project(), handOver, list, EntryMode::Add, -1);
    take(dialog.get());
  }
  { auto d = CreateAssociationDialog(&main, main.project()); take(d.get()); }
  { auto d = CreateFolderImportDialog(&main, main.project(), handOver); take(d.get()); }
  { auto d = CreateProjectFilePicker(&main, main.project(), false); take(d.get()); }
  return all;
}

class TranslationTest : public AppFixture {
 protected:
  void TearDown() override {
    AppFixture::TearDown();
    LoadInterfaceLanguage("English");
    SetWindowTextsLanguage("English");
  }
};

TEST_F(TranslationTest, EveryVisibleTextIsRussianUnderTheRussianInterface) {
  const std::map<QString, Texts> english = EveryWindow(*form);
  form.reset();
  ASSERT_TRUE(LoadInterfaceLanguage("Russian"));
  form = std::make_unique<app::TMainForm>("Russian", settingsPath);
  form->show();
  const std::map<QString, Texts> russian = EveryWindow(*form);

  int compared = 0;
  for (const auto& [window, texts] : russian) {
    ASSERT_TRUE(english.count(window)) << window.toStdString();
    for (const auto& [place, text] : texts) {
      const std::string where = window.toStdString() + "/" + place.toStdString() + ": " + text.toStdString();
      EXPECT_TRUE(QString::fromStdString(AnsiToUtf8(Utf8ToAnsi(text.toStdString(), 1251), 1251)) == text)
          << "not in code page 1251: " << where;
      const QString objectName = place.section(' ', 0, 0).section('/', -1);
      if (kCaptionsOfAnotherChange.count(objectName)) continue;
      // A caption missing from the language file would show the control's name.
      EXPECT_FALSE(text == objectName || text + "Label" == objectName) << "a control's name: " << where;
      if (SameInEveryLanguage(objectName, text)) continue;
      auto it = english.at(window).find(place);
      if (it == english.at(window).end()) continue;
      ++compared;
      if (HasLetters(text)) {
        EXPECT_TRUE(it->second != text) << "still English: " << where;
      }
    }
  }
  EXPECT_GT(compared, 300);
}

TEST_F(TranslationTest, TheLanguageMenuNamesEachLanguageInItsOwnScript) {
  auto captions = [this] {
    QStringList out;
    for (QAction* a : form->findChild<QMenu*>("ActLanguageSelect")->actions())
      if (a->isVisible()) out << a->text() + (a->isChecked() ? " *" : "");
    return out;
  };
  EXPECT_EQ(captions(), (QStringList{"English *", QString::fromUtf8("Russian (Русский)")}));
  form->findChild<QAction*>("Lang1")->trigger();
  EXPECT_EQ(captions(), (QStringList{"English", QString::fromUtf8("Russian (Русский) *")}));
  // The install languages too, in the code page each of them declares.
  QStringList installCaptions;
  auto* list = form->findChild<QListWidget*>("LanguageListView");
  for (int i = 0; i < list->count(); ++i) installCaptions << list->item(i)->text();
  EXPECT_TRUE(installCaptions.contains(QString::fromUtf8("Russian (Русский)"))) << installCaptions.join(", ").toStdString();
  EXPECT_TRUE(installCaptions.contains(QString::fromUtf8("German (Deutsch)")));
  form->findChild<QAction*>("Lang0")->trigger();
  EXPECT_EQ(captions(), (QStringList{"English *", QString::fromUtf8("Russian (Русский)")}));
}

}  // namespace
}  // namespace bvq::test
