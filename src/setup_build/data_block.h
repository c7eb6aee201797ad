#pragma once
// The data block between the installer script and the payload: the wizard pictures and the
// licence and information texts as side files named "$inst\" + number + ".tmp".
#include <cstdint>
#include <string>
#include <vector>

#include "setup_build/binary_file.h"
#include "setup_build/language_side_files.h"
#include "project/project.h"

namespace bvq {

// Where side files go: stored records in the setup file, or one data cabinet.
class SideFileSink {
 public:
  virtual ~SideFileSink() = default;
  // Stores `source` under `name` ("$inst\4.tmp").
  virtual void AddSideFile(const std::string& source, const std::string& name) = 0;
};

// Stored form: name, 0x00, size in decimal, 0x00, the bytes; appended to `setup`.
class StoredSideFiles : public SideFileSink {
 public:
  explicit StoredSideFiles(BinaryFile& setup) : setup_(setup) {}
  void AddSideFile(const std::string& source, const std::string& name) override;
 private:
  BinaryFile& setup_;
};

// "$inst\" + n + ".tmp".
std::string SideFileName(int n);

// Adds the side files in their fixed order: header picture (4), logo (5), background (6),
// the install folder (7), program group (8) and password (9) pictures of the program's Data
// folder, the licence text for all languages (15) and per language (20 ...), the information
// text for all languages (16) and per language (50 ...), each when its condition holds. Texts
// are converted to rich text through the work files License.tmp and Readme.tmp. Returns the
// number of side files added.
int AddSideFiles(const Project& project, const std::vector<BuildLanguage>& languages, SideFileSink& sink,
                 const std::string& workFolder);

}  // namespace bvq
