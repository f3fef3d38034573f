// Throughput of the conversion of a text in memory, by encoding: the scan,
// the chunks and the script rule, without any file I/O.

#include <benchmark/benchmark.h>

#include <string>

#include "convert/text_convert.h"

namespace {

using namespace zormin;

// Ordinary markup with some Japanese text (UTF-8 bytes; as Shift_JIS or
// ISO-2022-JP the scan takes the same paths for ASCII and more for the rest).
std::string Page() {
  std::string page;
  while (page.size() < 8 << 20) {
    page +=
        "<TR><TD CLASS=\"name\"><A HREF=\"mod/core.html#directory\">Directory</A></TD>\n"
        "<TD>Encloses a group of directives that apply only to the named file-system directory</TD></TR>\n"
        "<P>\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x9A\xE3\x83\xBC\xE3\x82\xB8 = text <BR>\n"
        "<IMG SRC=logo.gif ALT=\"Logo\" WIDTH=100 HEIGHT=50><!-- comment --></P>\n";
  }
  return page;
}

void BM_ConvertBlock(benchmark::State& state) {
  const std::string page = Page();
  std::string work;
  const auto charset = static_cast<Charset>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    work = page;
    state.ResumeTiming();
    ChunkConverter converter(CaseMode::Lower, charset);
    benchmark::DoNotOptimize(converter.ConvertBlock(work, true));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ConvertBlock)
    ->Arg(static_cast<int>(Charset::SingleByte))
    ->Arg(static_cast<int>(Charset::ShiftJis))
    ->Arg(static_cast<int>(Charset::Iso2022Jp))
    ->Unit(benchmark::kMillisecond);

void BM_DetectCharset(benchmark::State& state) {
  const std::string page = Page();
  for (auto _ : state) {
    CharsetDetector detector;
    detector.Feed(page);
    benchmark::DoNotOptimize(detector.Result());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_DetectCharset)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
