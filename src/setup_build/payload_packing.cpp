#include "setup_build/payload_packing.h"

#include <cstdio>

#include "setup_build/build_cancel.h"
#include "setup_build/copy_block.h"
#include "setup_build/payload_list.h"
#include "setup_build/work_files.h"
#include "cab/cab_writer.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq {
namespace {

CabCompression CompressionOf(int comboIndex) { return comboIndex == 1 ? CabCompression::MsZip : CabCompression::Lzx; }

// Work folder for the writer's temporary data file: the working folder holding `path`.
std::string FolderOf(const std::string& path) { return ExtractFilePath(path); }

// True when the cabinet file exists and lists at least one file (cFiles of its header). A set
// closed without any file leaves an empty cabinet, which the build treats as no cabinet:
// the data block or payload is then empty rather than a cabinet some readers refuse.
bool CabinetHasFiles(const std::string& path) {
  if (!FileExists(path)) return false;
  BinaryFile cabinet(path, BinaryFile::Mode::Read);
  uint8_t header[30];
  if (cabinet.Read(header, sizeof header) != sizeof header) return false;
  return (header[28] | header[29] << 8) != 0;
}

}  // namespace

bool PackPayloadCabinets(const PayloadList& payload, int compression, const std::string& workFolder,
                         BuildProgress& progress, PackedCabinets& packed) {
  BuildReporter& reporter = progress.reporter;
  Log(reporter, InterfaceString(kTextPackingFiles));
  reporter.SetProgressMaximum(ProgressUnits(payload.totalSourceSize));
  int nextCabinet = 0;
  uint64_t compressedBytes = 0;
  packed = PackedCabinets{};

  CabWriter writer;
  writer.SetCompressionType(CompressionOf(compression));
  writer.CabinetSizeThreshold = kPayloadCabinetSize;
  writer.TempFolder = workFolder;
  writer.OnGetNextCabinet = [&](CabWriter&, CabinetParams& cabinet, uint32_t, bool& abort) {
    abort = BuildCancelRequested();
    char name[32];
    std::snprintf(name, sizeof name, "%04d.tmp", nextCabinet++);
    cabinet.name = name;
    packed.cabinets.push_back(IncludeTrailingSeparator(cabinet.folder) + cabinet.name);
    reporter.ProcessEvents();
  };
  writer.OnBeforeFileAdd = [&](CabWriter&, const std::string& source, bool&) {
    reporter.ProcessEvents();
    reporter.SetLastLogLine(InterfaceString(kTextPacking) + ExtractFileName(source));
    reporter.ProcessEvents();
  };
  writer.OnFileStatus = [&](CabWriter&, uint32_t compressed, uint32_t uncompressed, bool& abort) {
    abort = BuildCancelRequested();
    if (compressed > 0) {
      compressedBytes += compressed - std::min<uint32_t>(compressed, 4);
      reporter.SetSizeText(SizeText(static_cast<int64_t>(compressedBytes)));
    }
    progress.bytes += uncompressed;
    reporter.SetProgressPosition(ProgressUnits(progress.bytes));
    reporter.ProcessEvents();
  };
  writer.OnProgress = [&](CabWriter&, bool& abort) {
    abort = BuildCancelRequested();
    reporter.ProcessEvents();
  };

  std::string current;  // the source being added, named by an error
  try {
    writer.Open(WorkFilePath(workFolder, 0));
    for (size_t i = 0; i < payload.files.size(); ++i) {
      if (BuildCancelRequested()) {
        writer.Close(false);
        return false;
      }
      current = payload.files[i].source;
      writer.AddFile(current, std::to_string(i), false);
    }
    current.clear();
    reporter.SetLastLogLine(InterfaceString(kTextPackingFiles));
    Log(reporter, InterfaceString(kTextAllFilesPacked));
    writer.Close(!BuildCancelRequested());
  } catch (const std::exception& e) {
    // A packing error or a cancel that aborted the writer.
    writer.Close(false);
    // A log line is one line: the cabinet error's line break becomes a blank.
    std::string reason = e.what();
    for (char& c : reason)
      if (c == '\r' || c == '\n') c = ' ';
    reason = ReplaceAll(reason, "  ", " ");
    if (!current.empty()) reason = "cannot pack " + current + ":" + (reason.rfind(' ', 0) == 0 ? "" : " ") + reason;
    if (!BuildCancelRequested()) Log(reporter, Utf8ToAnsi(reason), LogIcon::Error);
    RequestBuildCancel();
    return false;
  }
  if (BuildCancelRequested()) return false;

  reporter.SetProgressPosition(ProgressUnits(payload.totalSourceSize));
  reporter.ProcessEvents();
  // Only cabinets holding files count (a set without files leaves at most an empty one).
  std::vector<std::string> written;
  for (const std::string& cabinet : packed.cabinets) {
    if (!CabinetHasFiles(cabinet)) continue;
    written.push_back(cabinet);
    packed.payloadSize += static_cast<uint64_t>(FileSize64(cabinet)) - 4;
  }
  packed.cabinets = std::move(written);
  progress.Reset();
  reporter.ProcessEvents();
  return true;
}

struct CabinetSideFiles::Impl {
  CabWriter writer;
  std::string path;
};

CabinetSideFiles::CabinetSideFiles(const std::string& cabinetPath, int compression) : impl_(std::make_unique<Impl>()) {
  impl_->path = cabinetPath;
  impl_->writer.SetCompressionType(CompressionOf(compression));
  impl_->writer.TempFolder = FolderOf(cabinetPath);
  impl_->writer.Open(cabinetPath);
}

CabinetSideFiles::~CabinetSideFiles() = default;

void CabinetSideFiles::AddSideFile(const std::string& source, const std::string& name) {
  impl_->writer.AddFile(source, name, false);
}

uint64_t CabinetSideFiles::AppendTo(BinaryFile& setup, BuildProgress& progress) {
  impl_->writer.Close(true);
  if (!CabinetHasFiles(impl_->path)) return 0;  // no side files: an empty data block
  BinaryFile cabinet(impl_->path, BinaryFile::Mode::Read);
  const uint64_t size = cabinet.Size();
  if (size < 4) return 0;
  cabinet.Seek(4);
  FileByteSource source(cabinet, size - 4);
  const bool live = progress.live;
  progress.live = false;  // the data block does not move the bar
  uint64_t n = CopyBlock(setup, source, size - 4, progress);
  progress.live = live;
  progress.bytes = 0;
  if (n != size - 4) throw FileError("data cabinet became shorter while it was read: " + impl_->path);
  return n;
}

}  // namespace bvq
