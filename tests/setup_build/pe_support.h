#pragma once
// Reading PE facts through pefile (/usr/bin/python3 tests/setup_build/pe_check.py).
#include <cstdio>
#include <map>
#include <string>

namespace bvq::test {

inline std::map<std::string, std::string> PeFacts(const std::string& file) {
  std::map<std::string, std::string> facts;
  std::string command = "/usr/bin/python3 " BVQ_SOURCE_DIR "/tests/setup_build/pe_check.py '" + file + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return facts;
  char line[4096];
  while (fgets(line, sizeof line, pipe)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    auto eq = s.find('=');
    if (eq == std::string::npos) facts["error"] += s + "\n";
    else facts[s.substr(0, eq)] = s.substr(eq + 1);
  }
  pclose(pipe);
  return facts;
}

inline std::string StubPath(const char* name) { return std::string(BVQ_BINARY_DIR "/Data/") + name; }

}  // namespace bvq::test
