#pragma once
// What `--inspect` prints about a setup: product, storage, volumes, side files, the payload
// files and a summary of the script's sections, as text or as JSON, then the problems.
#include <string>

#include "setup_reader/setup_reader.h"

namespace bvq {

std::string SetupReportText(const SetupContents& setup);
std::string SetupReportJson(const SetupContents& setup);
// One line per problem: "where: what".
std::string SetupProblemLines(const SetupContents& setup);

}  // namespace bvq
