#pragma once
// The lexing loop the lexer benchmarks share: every line of the document
// once per iteration, tokens and line states folded into a checksum so that
// nothing is optimised away, the bytes counted for the MB/s figure.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::bench {

// A template, so that a benchmark of one concrete lexer calls it directly.
template <class Lexer>
void LexLines(benchmark::State& state, Lexer& hl, const std::vector<std::string>& lines)
{
    size_t bytes = 0;
    for (const std::string& l : lines)
        bytes += l.size();
    for (auto _ : state) {
        hl.ClearLineState();
        intptr_t checksum = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            hl.StartLine(lines[i], static_cast<int>(i));
            for (; !hl.AtLineEnd(); hl.NextToken())
                checksum += hl.TokenStart() + hl.TokenLength() + hl.TokenKind() +
                            reinterpret_cast<intptr_t>(hl.TokenAttribute());
            checksum += hl.LineState();
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

}  // namespace ostrel::bench
