#include "setup_build/payload_reader.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "setup_build/copy_block.h"
#include "util/files.h"

namespace bvq {
namespace {

class CabinetReader : public PayloadReader {
 public:
  explicit CabinetReader(std::vector<std::string> cabinets) : cabinets_(std::move(cabinets)) {}
  size_t PieceCount() const override { return cabinets_.size(); }
  void OpenPiece(size_t index) override {
    current_ = index;
    file_.Open(cabinets_[index], BinaryFile::Mode::Read);
    uint64_t size = file_.Size();
    if (size < 4) throw FileError("cabinet too short: " + cabinets_[index]);
    file_.Seek(4);
    source_.emplace(file_, size - 4);
  }
  uint64_t CopyFromPiece(BinaryFile& volume, uint64_t count, BuildProgress& progress) override {
    return CopyBlock(volume, *source_, count, progress);
  }
  bool PieceExhausted() const override { return source_->Remaining() == 0; }
  void ClosePiece() override {
    source_.reset();
    file_.Close();
    std::error_code ec;
    std::filesystem::remove(cabinets_[current_], ec);
  }

 private:
  std::vector<std::string> cabinets_;
  size_t current_ = 0;
  BinaryFile file_;
  std::optional<FileByteSource> source_;
};

class StoredReader : public PayloadReader {
 public:
  explicit StoredReader(std::vector<std::string> sources) : sources_(std::move(sources)) {}
  size_t PieceCount() const override { return sources_.size(); }
  void OpenPiece(size_t index) override {
    const std::string& path = sources_[index];
    uint64_t time = FileWriteTime(path);
    uint32_t attributes = FileAttributesWin(path);
    file_.Open(path, BinaryFile::Mode::Read);
    uint64_t size = file_.Size();
    header_.emplace(StoredRecordHeader(static_cast<uint32_t>(index), size, time, attributes));
    body_.emplace(file_, size);
  }
  uint64_t CopyFromPiece(BinaryFile& volume, uint64_t count, BuildProgress& progress) override {
    uint64_t n = CopyBlock(volume, *header_, count, progress);
    if (n < count && body_->Remaining() > 0) n += CopyBlock(volume, *body_, count - n, progress);
    return n;
  }
  bool PieceExhausted() const override { return header_->Remaining() == 0 && body_->Remaining() == 0; }
  void ClosePiece() override {
    header_.reset();
    body_.reset();
    file_.Close();
  }

 private:
  std::vector<std::string> sources_;
  BinaryFile file_;
  std::optional<MemoryByteSource> header_;
  std::optional<FileByteSource> body_;
};

void Put(std::string& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

}  // namespace

std::string StoredRecordHeader(uint32_t number, uint64_t size, uint64_t fileTime, uint32_t attributes) {
  std::string h;
  Put(h, number, 4);
  Put(h, size, 8);
  Put(h, fileTime, 8);
  Put(h, attributes, 4);
  return h;
}

std::unique_ptr<PayloadReader> MakeCabinetPayloadReader(std::vector<std::string> cabinets) {
  return std::make_unique<CabinetReader>(std::move(cabinets));
}
std::unique_ptr<PayloadReader> MakeStoredPayloadReader(std::vector<std::string> sources) {
  return std::make_unique<StoredReader>(std::move(sources));
}

}  // namespace bvq
