#include "project/interface_strings.h"

namespace bvq {
namespace {
InterfaceStringTable& Table() {
  static InterfaceStringTable table;
  return table;
}
}  // namespace

const std::string& InterfaceString(int index) {
  static const std::string empty;
  if (index < 0 || index >= kInterfaceStringCount) return empty;
  return Table()[index];
}

void SetInterfaceStrings(const InterfaceStringTable& table) { Table() = table; }
const InterfaceStringTable& InterfaceStrings() { return Table(); }

}  // namespace bvq
