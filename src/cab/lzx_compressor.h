#pragma once
// The LZX folder compressor with its search effort made explicit (benchmarks compare
// settings; the cabinet writer uses MakeLzxCompressor with the defaults).
#include "cab/folder_compressor.h"
#include "cab/lzx_parser.h"

namespace bvq::cab {

std::unique_ptr<FolderCompressor> MakeLzxCompressor(BlockSink sink, int windowBits, const lzx::ParserTuning& tuning);

}  // namespace bvq::cab
