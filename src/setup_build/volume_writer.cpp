#include "setup_build/volume_writer.h"

#include <algorithm>

#include "setup_build/build_cancel.h"
#include "util/strings.h"

namespace bvq {

VolumeResult WriteVolumes(const VolumeLayout& layout, PayloadReader& payload,
                          const std::function<std::string(int)>& volumePath, BuildProgress& progress,
                          int& highestVolume) {
  VolumeResult result;
  const uint64_t total = SetupTotalSize(layout);
  result.totalSize = total;
  const uint64_t volumeSize = layout.volumeSize == 0 ? total : layout.volumeSize;

  progress.live = layout.payloadSize > 0x200000;
  progress.bytes = 0;
  progress.reporter.SetProgressPosition(0);
  progress.reporter.SetProgressMaximum(ProgressUnits(layout.payloadSize));
  progress.reporter.ProcessEvents();

  uint64_t written = layout.fixedSize;
  size_t piece = 0;
  bool pieceOpen = false;
  auto inconsistent = [&](BinaryFile* volume) {
    if (pieceOpen) payload.ClosePiece();
    if (volume) volume->Close();
    result.outcome = VolumeOutcome::Inconsistent;
    return result;
  };

  for (int h = 0;; ++h) {
    if (written >= total) {
      result.volumeCount = h;
      return result;
    }
    BinaryFile volume;
    // The path first: a path refused there was not created by this build and is not removed.
    const std::string path = volumePath(h);
    if (h > highestVolume) highestVolume = h;
    if (h == 0) {
      volume.Open(path, BinaryFile::Mode::ReadWrite);
      volume.SeekToEnd();
    } else {
      volume.Open(path, BinaryFile::Mode::Create);
    }
    // Room in this volume; the first keeps 36 bytes for the trailer and takes no payload at
    // all when the fixed part already fills it.
    uint64_t current = volume.Size();
    uint64_t room = volumeSize > current ? volumeSize - current : 0;
    if (total - written < room) room = total - written;
    if (h == 0) room = room > kSetupTrailerSize ? room - kSetupTrailerSize : 0;

    while (room > 0 && !BuildCancelRequested()) {
      if (layout.showWrittenSize) {
        progress.reporter.SetSizeText(SizeText(static_cast<int64_t>(written)));
        progress.reporter.ProcessEvents();
      }
      if (!pieceOpen) {
        if (piece >= payload.PieceCount()) return inconsistent(&volume);  // payload ran short
        payload.OpenPiece(piece);
        pieceOpen = true;
      }
      // At most 1 MiB per step, so a cancel request is seen soon.
      uint64_t n = payload.CopyFromPiece(volume, std::min<uint64_t>(room, 1 << 20), progress);
      written += n;
      room -= n;
      if (payload.PieceExhausted()) {
        payload.ClosePiece();
        pieceOpen = false;
        ++piece;
      } else if (n == 0) {
        return inconsistent(&volume);  // a source ended before its counted size
      }
    }
    if (BuildCancelRequested()) {
      if (pieceOpen) payload.ClosePiece();
      volume.Close();
      result.outcome = VolumeOutcome::Cancelled;
      return result;
    }
    if (h == 0) {
      auto trailer = EncodeSetupTrailer(layout.trailer);
      volume.Write(trailer.data(), trailer.size());
      written += kSetupTrailerSize;
    }
    volume.Close();
    if (pieceOpen && written == total) return inconsistent(nullptr);  // payload longer than counted
  }
}

}  // namespace bvq
