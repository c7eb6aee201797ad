#pragma once
// The defaults of a new project.
#include "project/project.h"
#include "project/project_context.h"
#include "project/project_session.h"

namespace bvq {

// Puts every setting to its default and empties every entry list: the preview positions,
// every slot's default (texts using the current year, the setup file in the documents
// folder, the first icon and bitmap files of the program folder), the fonts and colours,
// the current interface language as the only install language, all ten systems, empty
// licence and information entries; clears filePath and resets the session (unmodified,
// nothing built). Asking about unsaved changes is the caller's part.
void NewProject(Project& project, ProjectSession& session, const ProjectContext& context);

}  // namespace bvq
