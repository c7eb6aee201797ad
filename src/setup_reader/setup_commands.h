#pragma once
// The command-line front ends of the setup reader. Both return 0 when the setup is whole
// (and, for extract, every file was written), 1 when it is damaged or a file was refused,
// 2 when it is not a setup built by this program.
#include <string>

namespace bvq {

// Prints the report (text or JSON) to standard output, the problems to standard error.
int InspectSetupCommand(const std::string& setup, bool json);
// Checks the setup, then writes its payload files below `folder`.
int ExtractSetupCommand(const std::string& setup, const std::string& folder, bool force);

}  // namespace bvq
