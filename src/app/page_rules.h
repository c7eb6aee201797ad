#pragma once
// The dependent controls of the settings pages: which switch enables which group, the
// silent installation and restart switches that override them, the uninstaller switch, the
// password field's display and case. The rules are computed from the project's state, so
// loading a project or creating a new one leaves the pages consistent.
#include <QString>

class QWidget;

namespace bvq {
class ProjectSession;
}

namespace bvq::app {

class SettingsBinder;

// Enables, disables and shows the controls below `root` (found by objectName) as the
// project's settings say.
void ApplyPageRules(QWidget* root, const SettingsBinder& binder);

// After an edit of control `name`: the password case rules (the spelling typed before upper
// case is kept in the session), the focus of a group whose switch was just ticked, then
// ApplyPageRules.
void AfterSettingEdited(QWidget* root, SettingsBinder& binder, ProjectSession& session, const QString& name);

}  // namespace bvq::app
