#include "convert/text_convert.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/file_io.h"

namespace zormin {

namespace {

constexpr std::size_t kChunkMax = 255;  // bytes of text a 256-byte line buffer holds

constexpr std::string_view kScript = "SCRIPT";

// The next "SCRIPT" in [p, end), or null. Script tags are recognised by their
// exact upper-case bytes only.
const char* FindScript(const char* p, const char* end) {
  return static_cast<const char*>(memmem(p, static_cast<std::size_t>(end - p), kScript.data(), kScript.size()));
}

// Converts what is read from `in` up to its end, block by block.
StreamStatus Stream(int in, TextWriter& writer, ChunkConverter& converter, char* buffer,
                    std::size_t blockSize) {
  std::size_t have = 0;
  bool atEnd = false;
  for (;;) {
    if (!atEnd) {
      const ssize_t n = ::read(in, buffer + have, blockSize - have);
      if (n < 0) {
        if (errno == EINTR) continue;
        return StreamStatus::ReadFailed;
      }
      if (n == 0) {
        atEnd = true;
      } else {
        have += static_cast<std::size_t>(n);
      }
    }
    const std::size_t used = converter.ConvertBlock({buffer, have}, atEnd);
    writer.Write({buffer, used});
    if (writer.failed()) return StreamStatus::WriteFailed;
    std::memmove(buffer, buffer + used, have - used);
    have -= used;
    if (atEnd && have == 0) return StreamStatus::Ok;
  }
}

// An unnamed file in the temporary folder, gone when closed.
UniqueFd OpenSpoolFile() {
  const char* dir = std::getenv("TMPDIR");
  if (dir == nullptr || *dir == '\0') dir = "/tmp";
  return UniqueFd(::open(dir, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
}

}  // namespace

TextWriter::TextWriter(int fd, LineEnds lineEnds, std::size_t bufferSize)
    : m_fd(fd),
      m_lineEnds(lineEnds),
      m_buffer(std::make_unique_for_overwrite<char[]>(bufferSize)),
      m_capacity(bufferSize) {}

void TextWriter::Put(const char* data, std::size_t size) {
  if (m_failed) return;
  if (m_used + size > m_capacity) {
    if (!Flush()) return;
    if (size > m_capacity) {
      m_failed = !WriteFull(m_fd, data, size);
      return;
    }
  }
  std::memcpy(m_buffer.get() + m_used, data, size);
  m_used += size;
}

void TextWriter::Write(std::span<const char> bytes) {
  if (m_lineEnds == LineEnds::Keep) {
    Put(bytes.data(), bytes.size());
    return;
  }
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (lf == nullptr) {
      Put(p, static_cast<std::size_t>(end - p));
      m_lastWasCr = end[-1] == '\r';
      return;
    }
    const bool hasCr = (lf > p) ? lf[-1] == '\r' : m_lastWasCr;
    Put(p, static_cast<std::size_t>(lf - p));
    Put(hasCr ? "\n" : "\r\n", hasCr ? 1 : 2);
    m_addedCr |= !hasCr;
    m_lastWasCr = false;
    p = lf + 1;
  }
}

bool TextWriter::Flush() {
  if (m_failed) return false;
  if (m_used > 0 && !WriteFull(m_fd, m_buffer.get(), m_used)) m_failed = true;
  m_used = 0;
  return !m_failed;
}

std::size_t ChunkConverter::ConvertBlock(std::span<char> block, bool atEnd) {
  char* const data = block.data();
  const std::size_t size = block.size();
  const char* const blockEnd = data + size;
  // Script tags are rare: the block is searched for them once, not every chunk.
  const char* script = FindScript(data, blockEnd);
  std::size_t pos = 0;
  while (pos < size) {
    char* const p = data + pos;
    const std::size_t avail = size - pos;
    std::size_t length;
    if (const void* found = std::memchr(p, '\n', std::min(avail, kChunkMax + 1))) {
      // The line ends within reach. A CR right before the line feed is read
      // away with it, so such a line may take one raw byte more.
      const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - p);
      const std::size_t textLength = lf + 1 - ((lf > 0 && p[lf - 1] == '\r') ? 1 : 0);
      length = textLength <= kChunkMax ? lf + 1 : kChunkMax;
    } else if (avail > kChunkMax) {
      length = kChunkMax;  // a long line is cut every 255 bytes
    } else if (atEnd) {
      length = avail;  // the last line, without a line feed
    } else {
      break;  // the chunk's end is not known yet
    }
    const char* const chunkEnd = p + length;
    bool opens = false, closes = false;
    for (; script != nullptr && script < chunkEnd; script = FindScript(script + kScript.size(), blockEnd)) {
      // "<SCRIPT" or "</SCRIPT" wholly inside this chunk; one cut by the
      // 255-byte limit belongs to neither chunk.
      if (script + kScript.size() > chunkEnd) continue;
      if (script - p >= 1 && script[-1] == '<') opens = true;
      if (script - p >= 2 && script[-1] == '/' && script[-2] == '<') closes = true;
    }
    ConvertChunk({p, length}, opens, closes);
    pos += length;
  }
  return pos;
}

void ChunkConverter::ConvertChunk(std::span<char> chunk, bool opensScript, bool closesScript) {
  // A chunk that opens or closes a script is copied as it is, whatever else it holds.
  if (opensScript) {
    m_scriptSkip = true;
  } else if (closesScript) {
    m_scriptSkip = false;
  } else if (!m_scriptSkip) {
    m_changed |= ConvertLineTags(chunk, m_mode, m_cursor);
    return;
  }
  m_cursor.Skip(chunk);
}

StreamStatus ConvertText(int in, int out, CaseMode mode, const TextConvertOptions& options,
                         TextConvertReport* report) {
  const std::size_t blockSize = std::max<std::size_t>(options.blockSize, 512);
  TextWriter writer(out, options.lineEnds);
  const auto finish = [&](StreamStatus status, Encoding encoding, const ChunkConverter& converter) {
    if (status == StreamStatus::Ok && !writer.Flush()) status = StreamStatus::WriteFailed;
    if (status == StreamStatus::Ok && report != nullptr) {
      report->encoding = encoding;
      report->changed = converter.changed() || writer.addedCr();
    }
    return status;
  };

  if (options.encoding != Encoding::Auto) {
    ChunkConverter converter(mode, CharsetOf(options.encoding));
    auto buffer = std::make_unique_for_overwrite<char[]>(blockSize);
    return finish(Stream(in, writer, converter, buffer.get(), blockSize), options.encoding, converter);
  }

  // The encoding is decided from the whole input before anything is converted.
  const std::size_t limit = std::max(options.wholeFileLimit, blockSize);
  auto buffer = std::make_unique_for_overwrite<char[]>(limit + 1);
  const long n = ReadFull(in, buffer.get(), limit + 1);
  if (n < 0) return StreamStatus::ReadFailed;
  CharsetDetector detector;
  const auto length = static_cast<std::size_t>(n);
  detector.Feed({buffer.get(), length});

  if (length <= limit) {  // the whole input is here
    const Encoding encoding = detector.Result();
    ChunkConverter converter(mode, CharsetOf(encoding));
    converter.ConvertBlock({buffer.get(), length}, true);
    writer.Write({buffer.get(), length});
    return finish(StreamStatus::Ok, encoding, converter);
  }

  // Too long to hold: read on to decide, then read again to convert, from the
  // start of the file, or from a copy of what a pipe delivered.
  const off_t position = ::lseek(in, 0, SEEK_CUR);
  UniqueFd spool;
  if (position < 0 && !(spool = OpenSpoolFile())) return StreamStatus::ReadFailed;
  if (spool && !WriteFull(spool.get(), buffer.get(), length)) return StreamStatus::ReadFailed;
  for (;;) {
    const long more = ReadFull(in, buffer.get(), blockSize);
    if (more < 0) return StreamStatus::ReadFailed;
    if (more == 0) break;
    detector.Feed({buffer.get(), static_cast<std::size_t>(more)});
    if (spool && !WriteFull(spool.get(), buffer.get(), static_cast<std::size_t>(more))) {
      return StreamStatus::ReadFailed;
    }
  }
  const int source = spool ? spool.get() : in;
  const off_t start = spool ? 0 : position - static_cast<off_t>(length);
  if (::lseek(source, start, SEEK_SET) != start) return StreamStatus::ReadFailed;

  const Encoding encoding = detector.Result();
  ChunkConverter converter(mode, CharsetOf(encoding));
  return finish(Stream(source, writer, converter, buffer.get(), blockSize), encoding, converter);
}

}  // namespace zormin
