// libFuzzer target over the project loader: the input is a project file as found on disk or,
// when it does not start with the file's magic, a project text as --import-text reads it.
// Loading must give a project or a refusal, never crash, hang or exhaust memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "project/project.h"
#include "project/project_context.h"
#include "project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bvq::Outcome<std::string> decoded = bvq::ProjectTextFromFileBytes(bytes);
  const std::string text = decoded ? *decoded : std::string(bytes);
  // A folder that does not exist: texts of very old versions cannot leave side files behind.
  const std::string path = "/nonexistent-bvq-fuzz/fuzz.bvq";
  bvq::Project project;
  (void)bvq::ReadProjectText(project, text, path, bvq::ProjectContext{});
  return 0;
}
