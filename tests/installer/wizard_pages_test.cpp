// The wizard's pages for given script fields: which are shown and in which order, their
// texts and buttons, what the finish page offers, where the licence and information texts lie.
#include <array>
#include <initializer_list>
#include <map>
#include <tuple>
#include <utility>

#include "installer_support.h"

extern "C" {
#include "stub/wizard_pages.h"
}

namespace bvq::test {
namespace {

// A script of section A only (every count 0) with the given fields set, or with language
// groups of section N when asked.
class ScriptOf {
 public:
  explicit ScriptOf(const std::map<int, std::string>& fields,
                    const std::vector<std::vector<std::string>>& languages = {}) {
    std::vector<std::string> values(FLD_COUNT, "0");
    values[FLD_TEXTS_PER_LANGUAGE] = "0";
    values[FLD_LANGUAGE_COUNT] = std::to_string(languages.size());
    values[FLD_PASSWORD] = "";
    for (const auto& [field, value] : fields) values[field] = value;
    for (const auto& group : languages) values.insert(values.end(), group.begin(), group.end());
    const std::string bytes = ScriptBytes(values);
    char* buf = static_cast<char*>(xalloc(bytes.size()));
    std::memcpy(buf, bytes.data(), bytes.size());
    const wchar_t* error = script_parse(buf, bytes.size(), &script_);
    EXPECT_EQ(error ? std::wstring(error) : L"", L"");
  }
  ~ScriptOf() { script_free(&script_); }
  ScriptOf(const ScriptOf&) = delete;
  ScriptOf& operator=(const ScriptOf&) = delete;
  const Script* get() const { return &script_; }

 private:
  Script script_{};
};

std::vector<WizardPage> Plan(const ScriptOf& s, int password_given = 0) {
  WizardPlan plan;
  wizard_plan(s.get(), password_given, &plan);
  return {plan.page, plan.page + plan.count};
}

const std::map<int, std::string> kAllSwitches = {
    {FLD_WELCOME_PAGE, "1"}, {FLD_LICENCE_PAGE, "1"}, {FLD_INFO_PAGE, "1"},        {FLD_PASSWORD, "x1y2"},
    {FLD_FOLDER_PAGE, "1"},  {FLD_GROUP_PAGE, "1"},   {FLD_GROUP_SHORTCUTS, "1"},  {FLD_SHORTCUTS_PAGE, "1"},
    {FLD_DESKTOP_SHORTCUTS, "1"}, {FLD_READY_PAGE, "1"}, {FLD_FINISH_PAGE, "1"}};

std::map<int, std::string> AllSwitchesBut(std::initializer_list<std::pair<const int, std::string>> changes) {
  auto fields = kAllSwitches;
  for (const auto& [field, value] : changes) fields[field] = value;
  return fields;
}

struct PlanCase {
  const char* what;
  std::map<int, std::string> fields;
  int password_given;
  std::vector<WizardPage> pages;
};

TEST(WizardPagesTest, PagesShownAndTheirOrder) {
  const std::vector<PlanCase> cases = {
      {"every page", kAllSwitches, 0,
       {PAGE_WELCOME, PAGE_LICENCE, PAGE_INFORMATION, PAGE_PASSWORD, PAGE_FOLDER, PAGE_GROUP, PAGE_SHORTCUTS,
        PAGE_READY, PAGE_PROGRESS, PAGE_FINISH}},
      {"every switch off: the progress alone", {}, 0, {PAGE_PROGRESS}},
      {"the password given with /P= is not asked", kAllSwitches, 1,
       {PAGE_WELCOME, PAGE_LICENCE, PAGE_INFORMATION, PAGE_FOLDER, PAGE_GROUP, PAGE_SHORTCUTS, PAGE_READY,
        PAGE_PROGRESS, PAGE_FINISH}},
      {"no password, no password page", AllSwitchesBut({{FLD_PASSWORD, ""}}), 0,
       {PAGE_WELCOME, PAGE_LICENCE, PAGE_INFORMATION, PAGE_FOLDER, PAGE_GROUP, PAGE_SHORTCUTS, PAGE_READY,
        PAGE_PROGRESS, PAGE_FINISH}},
      {"group page without shortcuts in the group", AllSwitchesBut({{FLD_GROUP_SHORTCUTS, "0"}}), 1,
       {PAGE_WELCOME, PAGE_LICENCE, PAGE_INFORMATION, PAGE_FOLDER, PAGE_SHORTCUTS, PAGE_READY, PAGE_PROGRESS,
        PAGE_FINISH}},
      {"shortcuts page with only start-menu shortcuts",
       AllSwitchesBut({{FLD_DESKTOP_SHORTCUTS, "0"}, {FLD_QUICK_LAUNCH_SHORTCUTS, "0"}}), 1,
       {PAGE_WELCOME, PAGE_LICENCE, PAGE_INFORMATION, PAGE_FOLDER, PAGE_GROUP, PAGE_READY, PAGE_PROGRESS,
        PAGE_FINISH}},
      {"shortcuts page for a quick-launch shortcut alone",
       {{FLD_SHORTCUTS_PAGE, "1"}, {FLD_QUICK_LAUNCH_SHORTCUTS, "1"}}, 0, {PAGE_SHORTCUTS, PAGE_PROGRESS}},
      {"licence and information without the rest", {{FLD_LICENCE_PAGE, "1"}, {FLD_INFO_PAGE, "1"}}, 0,
       {PAGE_LICENCE, PAGE_INFORMATION, PAGE_PROGRESS}},
      {"welcome, folder and finish", {{FLD_WELCOME_PAGE, "1"}, {FLD_FOLDER_PAGE, "1"}, {FLD_FINISH_PAGE, "1"}}, 0,
       {PAGE_WELCOME, PAGE_FOLDER, PAGE_PROGRESS, PAGE_FINISH}},
      {"switches off, the ready page alone", AllSwitchesBut({{FLD_WELCOME_PAGE, "0"}, {FLD_LICENCE_PAGE, "0"},
                                                             {FLD_INFO_PAGE, "0"}, {FLD_PASSWORD, ""},
                                                             {FLD_FOLDER_PAGE, "0"}, {FLD_GROUP_PAGE, "0"},
                                                             {FLD_SHORTCUTS_PAGE, "0"}, {FLD_FINISH_PAGE, "0"}}),
       0, {PAGE_READY, PAGE_PROGRESS}},
  };
  for (const auto& c : cases) {
    ScriptOf s(c.fields);
    EXPECT_EQ(Plan(s, c.password_given), c.pages) << c.what;
  }
}

TEST(WizardPagesTest, ButtonsAlongThePlan) {
  struct Expected {
    int back, next, next_text, cancel;
  };
  struct Case {
    const char* what;
    std::map<int, std::string> fields;
    std::vector<Expected> buttons;  // one per page of the plan
  };
  const std::vector<Case> cases = {
      {"welcome, folder, ready, progress, finish",
       {{FLD_WELCOME_PAGE, "1"}, {FLD_FOLDER_PAGE, "1"}, {FLD_READY_PAGE, "1"}, {FLD_FINISH_PAGE, "1"}},
       {{0, 1, TXT_NEXT, 1},
        {1, 1, TXT_NEXT, 1},
        {1, 1, TXT_INSTALL, 1},
        {0, 0, TXT_NEXT, 1},
        {0, 1, TXT_FINISH_BUTTON, 0}}},
      {"one page before the progress, no finish page",
       {{FLD_LICENCE_PAGE, "1"}},
       {{0, 1, TXT_INSTALL, 1}, {0, 0, TXT_FINISH_BUTTON, 1}}},
      {"the progress alone", {}, {{0, 0, TXT_FINISH_BUTTON, 1}}},
  };
  for (const auto& c : cases) {
    ScriptOf s(c.fields);
    WizardPlan plan;
    wizard_plan(s.get(), 0, &plan);
    ASSERT_EQ(plan.count, static_cast<int>(c.buttons.size())) << c.what;
    for (int i = 0; i < plan.count; ++i) {
      const WizardButtons b = wizard_buttons(&plan, i);
      const Expected& e = c.buttons[static_cast<size_t>(i)];
      EXPECT_EQ(b.back, e.back) << c.what << ", page " << i;
      EXPECT_EQ(b.next, e.next) << c.what << ", page " << i;
      EXPECT_EQ(b.next_text, e.next_text) << c.what << ", page " << i;
      EXPECT_EQ(b.cancel, e.cancel) << c.what << ", page " << i;
    }
  }
}

TEST(WizardPagesTest, EachPageHasItsTitleAndDescription) {
  // The English texts a user reads at the top of each page.
  const std::vector<std::tuple<WizardPage, std::wstring, std::wstring>> cases = {
      {PAGE_WELCOME, L"Welcome to the #appname# Setup Wizard", L"This will install #appname# on your computer."},
      {PAGE_LICENCE, L"License Agreement", L"Please read the following license agreement carefully."},
      {PAGE_INFORMATION, L"Information", L"Please read the following important information before continuing."},
      {PAGE_PASSWORD, L"Password", L"This installation is protected by a password."},
      {PAGE_FOLDER, L"Select Destination Location", L"Where should #appname# be installed?"},
      {PAGE_GROUP, L"Select Program Group", L"Where should Setup place the program's shortcuts?"},
      {PAGE_SHORTCUTS, L"Additional Shortcuts", L"Which additional shortcuts should Setup create?"},
      {PAGE_READY, L"Ready to Install", L"Setup is now ready to begin installing #appname# on your computer."},
      {PAGE_PROGRESS, L"Installing", L"Please wait while Setup installs #appname# on your computer."},
      {PAGE_FINISH, L"Completing the #appname# Setup Wizard", L"Setup has finished installing #appname# on your computer."},
  };
  ASSERT_EQ(cases.size(), static_cast<size_t>(PAGE_COUNT));
  for (const auto& [page, title, description] : cases) {
    const WizardPageTexts t = wizard_page_texts(page);
    EXPECT_EQ(install_text_default(t.title), title) << "page " << page;
    EXPECT_EQ(std::wstring(install_text_default(t.description)).rfind(description, 0), 0u) << "page " << page;
  }
}

TEST(WizardPagesTest, FinishOptionsAndRestartExcludingTheOthers) {
  const std::map<int, std::string> all = {
      {FLD_FINISH_RUN, "1"},    {FLD_RUN_APP, "@$&%01\\tool.exe"}, {FLD_FINISH_RUN_TICKED, "1"},
      {FLD_FINISH_README, "1"}, {FLD_README, "readme.txt"},       {FLD_FINISH_README_TICKED, "0"},
      {FLD_FINISH_WEB, "1"},    {FLD_WEB_SITE, "http://example.org/"}, {FLD_FINISH_WEB_TICKED, "1"}};
  auto with = [&](std::initializer_list<std::pair<const int, std::string>> changes) {
    auto fields = all;
    for (const auto& [field, value] : changes) fields[field] = value;
    return fields;
  };
  struct Case {
    const char* what;
    std::map<int, std::string> fields;
    int restart_needed;
    std::array<std::pair<int, int>, FINISH_OPTION_COUNT> offered_ticked;  // run, readme, web, restart
  };
  const std::vector<Case> cases = {
      {"three options with their ticks", all, 0, {{{1, 1}, {1, 0}, {1, 1}, {0, 0}}}},
      {"restart offered: nothing else", with({{FLD_FINISH_RESTART, "1"}}), 0, {{{0, 0}, {0, 0}, {0, 0}, {1, 0}}}},
      {"files wait for the restart: restart proposed and ticked", all, 1, {{{0, 0}, {0, 0}, {0, 0}, {1, 1}}}},
      {"an option without its file or site is not offered", with({{FLD_RUN_APP, ""}, {FLD_WEB_SITE, ""}}), 0,
       {{{0, 0}, {1, 0}, {0, 0}, {0, 0}}}},
      {"switches off: nothing offered though ticked",
       with({{FLD_FINISH_RUN, "0"}, {FLD_FINISH_README, "0"}, {FLD_FINISH_WEB, "0"}}), 0,
       {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}}},
  };
  for (const auto& c : cases) {
    ScriptOf s(c.fields);
    FinishOption options[FINISH_OPTION_COUNT];
    wizard_finish_options(s.get(), c.restart_needed, options);
    for (int k = 0; k < FINISH_OPTION_COUNT; ++k) {
      EXPECT_EQ(options[k].offered, c.offered_ticked[static_cast<size_t>(k)].first) << c.what << ", option " << k;
      EXPECT_EQ(options[k].ticked, c.offered_ticked[static_cast<size_t>(k)].second) << c.what << ", option " << k;
    }
    EXPECT_EQ(options[FINISH_RUN].text, TXT_FINISH_RUN);
    EXPECT_EQ(options[FINISH_README].text, TXT_FINISH_README);
    EXPECT_EQ(options[FINISH_WEB].text, TXT_FINISH_WEB);
    EXPECT_EQ(options[FINISH_RESTART].text, TXT_FINISH_RESTART);
  }
  ScriptOf s(all);
  FinishOption options[FINISH_OPTION_COUNT];
  wizard_finish_options(s.get(), 0, options);
  EXPECT_STREQ(options[FINISH_RUN].what, "@$&%01\\tool.exe");
  EXPECT_STREQ(options[FINISH_README].what, "readme.txt");
  EXPECT_STREQ(options[FINISH_WEB].what, "http://example.org/");
}

TEST(WizardPagesTest, LicenceAndInformationOfEachLanguage) {
  // English with its own licence, German with its own information, French with neither.
  ScriptOf s({}, {{"English", "1033", "20", ""}, {"Deutsch", "1031", "", "50"}, {"Francais", "1036", "", ""}});
  const std::vector<std::tuple<size_t, WizardPage, int>> cases = {
      {0, PAGE_LICENCE, 20},           {0, PAGE_INFORMATION, SIDE_FILE_INFO_ALL},
      {1, PAGE_LICENCE, SIDE_FILE_LICENCE_ALL}, {1, PAGE_INFORMATION, 50},
      {2, PAGE_LICENCE, SIDE_FILE_LICENCE_ALL}, {2, PAGE_INFORMATION, SIDE_FILE_INFO_ALL},
      {0, PAGE_FOLDER, 0},
  };
  for (const auto& [language, page, side_file] : cases)
    EXPECT_EQ(wizard_text_side_file(s.get(), language, page), side_file) << "language " << language << ", page " << page;
}

}  // namespace
}  // namespace bvq::test
