#pragma once
// Path variables: the built-in names ("%PROGRAMFILES%" ...) with their numbers, the user
// variables of the project's registryVariables, and the substitution that turns variable names into the codes
// the installer reads ("@$&%" + two-digit number) or, for the product name, version and
// company, into their values.
#include <array>
#include <string>
#include <string_view>

#include "project/project.h"

namespace bvq {

// Slots 1..80 of the built-in table (index 0 unused); empty slots are "".
const std::array<std::string, 81>& ReservedVariables();

// Numbers of the variables with a meaning of their own to the build.
constexpr int kVariableVolumeNumber = 19;  // %I%: the volume number in volume names
constexpr int kVariableProductName = 23;
constexpr int kVariableProductVersion = 24;
constexpr int kVariableCompanyName = 25;
constexpr int kFirstUserVariable = 81;
constexpr int kLastVariableNumber = 99;  // at most 19 user variables receive codes

// "@$&%" + n in two digits.
std::string VariableCode(int number);

// True when `name` in upper case is one of the 80 built-in slots.
bool IsReservedVariableName(std::string_view name);

// Replaces every built-in and user variable name, found without regard to letter case, by
// its code; %ProductName%, %ProductVersion% and %CompanyName% become productName,
// productVersion and companyName. Variables are taken in number order; the search for a
// variable continues after each inserted replacement, so a replacement that contains its
// own name cannot make it loop. Other text between percent signs stays as written.
std::string SubstituteVariables(const Project& project, std::string_view text);

}  // namespace bvq
