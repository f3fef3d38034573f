#pragma once
// Conversion of a whole text: the input is cut into chunks as a line read into
// a 256-byte buffer comes (up to and including a line feed, at most 255 bytes;
// a CR LF pair counts as the one line feed it is read as), script blocks are
// copied unchanged, every other chunk gets the tag-case scan, and every line
// feed is written as CR LF, or every line end as it was read.
//
// The bytes are converted where they lie, CR LF pairs included: a CR never
// affects the scan, so the text reads the same, and output only needs a CR put
// before each line feed that has none.

#include <cstddef>
#include <memory>
#include <span>

#include "convert/charset.h"
#include "convert/tag_scan.h"
#include "core/case_mode.h"

namespace zormin {

// How line ends are written: CrLf puts a CR before every line feed that has
// none; Keep writes LF as LF and CR LF as CR LF. A lone CR is no line end and
// stays as it is in both.
enum class LineEnds { CrLf, Keep };

// Writes text with its line ends as `lineEnds` says, through a buffer. The
// first failed write is remembered and nothing more is written after it.
class TextWriter {
 public:
  explicit TextWriter(int fd, LineEnds lineEnds = LineEnds::CrLf, std::size_t bufferSize = 256 * 1024);
  void Write(std::span<const char> bytes);
  bool Flush();
  bool failed() const { return m_failed; }
  // Whether a CR was put before some line feed.
  bool addedCr() const { return m_addedCr; }

 private:
  void Put(const char* data, std::size_t size);

  int m_fd;
  LineEnds m_lineEnds;
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity;
  std::size_t m_used = 0;
  bool m_lastWasCr = false;
  bool m_addedCr = false;
  bool m_failed = false;
};

// The chunk and script rules over consecutive blocks of one text.
class ChunkConverter {
 public:
  ChunkConverter(CaseMode mode, Charset charset) : m_mode(mode), m_cursor(charset) {}

  // Converts, in place, the whole chunks at the start of `block` and returns
  // how many bytes they cover. Without `atEnd` a chunk is only taken when the
  // bytes after it are there to tell where it ends (at most 256 are needed),
  // so the rest must come again, followed by more input.
  std::size_t ConvertBlock(std::span<char> block, bool atEnd);

  // Whether the scan changed some byte so far.
  bool changed() const { return m_changed; }

 private:
  void ConvertChunk(std::span<char> chunk, bool opensScript, bool closesScript);

  CaseMode m_mode;
  MultibyteCursor m_cursor;
  bool m_scriptSkip = false;
  bool m_changed = false;
};

enum class StreamStatus { Ok, ReadFailed, WriteFailed };

struct TextConvertOptions {
  Encoding encoding = Encoding::Auto;
  LineEnds lineEnds = LineEnds::CrLf;
  // Input is read in blocks of this size (at least 512); tests make it small
  // to cut chunks and characters at every place.
  std::size_t blockSize = 256 * 1024;
  // With Encoding::Auto, an input up to this size is held whole while its
  // encoding is decided; a longer one is read twice (a pipe is copied to an
  // unnamed temporary file for that).
  std::size_t wholeFileLimit = 1024 * 1024;
};

// What a conversion found out on the way.
struct TextConvertReport {
  Encoding encoding = Encoding::Auto;  // the encoding that was used
  bool changed = false;                // the output differs from the input
};

// Converts everything read from `in` and writes it to `out`. Fills `report`,
// when given, once the conversion succeeded.
StreamStatus ConvertText(int in, int out, CaseMode mode, const TextConvertOptions& options,
                         TextConvertReport* report = nullptr);

}  // namespace zormin
