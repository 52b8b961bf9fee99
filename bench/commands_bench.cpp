// Editor commands per second on buffers of 10,000 and 1,000,000 lines: a
// keystroke must cost the same whatever the buffer's size.
//
//   commands_bench [--benchmark_filter=...]
//
// Typing: characters through the character command, 30 on a line and then
// on to the next line, a fixed number of them so that every line typed on
// is a fresh one. Caret moves: a round of arrows, word, line-end,
// page and editor-end moves. Both with the default options (virtual space
// on) and without virtual space, where the view's width limit depends on
// the longest line.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

std::unique_ptr<TOstEdit> MakeEditor(int lines, bool virtualSpace)
{
    auto ed = std::make_unique<TOstEdit>();
    std::string text;
    text.reserve(static_cast<size_t>(lines) * 40);
    for (int i = 0; i < lines; ++i)
        text += "    int value_" + std::to_string(i) + " = compute(a, b); // note\r\n";
    ed->Lines().LoadFromBytes(text);
    ed->SetOption(eoScrollPastEol, virtualSpace);
    ed->SetWindowSize(100, 40);
    ed->SetCaretXY({5, lines / 2});
    return ed;
}

void Typing(benchmark::State& state, bool virtualSpace)
{
    const int lines = static_cast<int>(state.range(0));
    auto ed = MakeEditor(lines, virtualSpace);
    ed->SetCaretXY({5, 1});
    int typed = 0;
    for (auto _ : state) {
        ed->CommandProcessor(ecChar, static_cast<char>('a' + typed % 26));
        if (++typed % 30 == 0)
            ed->SetCaretXY({5, typed / 30 + 1});
    }
    state.SetItemsProcessed(state.iterations());
}

void CaretMoves(benchmark::State& state, bool virtualSpace)
{
    static const TOstEditorCommand kRound[] = {
        ecRight, ecDown, ecWordRight, ecSelWordRight, ecLineEnd, ecLineStart, ecPageDown, ecSelDown,
        ecPageUp, ecUp, ecLeft, ecWordLeft, ecEditorBottom, ecEditorTop, ecGotoXY,
    };
    const int lines = static_cast<int>(state.range(0));
    auto ed = MakeEditor(lines, virtualSpace);
    const TBufferCoord middle{5, lines / 2};
    size_t i = 0;
    for (auto _ : state) {
        ed->CommandProcessor(kRound[i], '\0', &middle);
        i = (i + 1) % std::size(kRound);
    }
    state.SetItemsProcessed(state.iterations());
}

void TypingVirtual(benchmark::State& s) { Typing(s, true); }
void TypingNoVirtualSpace(benchmark::State& s) { Typing(s, false); }
void CaretMovesVirtual(benchmark::State& s) { CaretMoves(s, true); }
void CaretMovesNoVirtualSpace(benchmark::State& s) { CaretMoves(s, false); }

}  // namespace

// 240,000 characters fill 8,000 lines, all there in the smaller buffer.
BENCHMARK(TypingVirtual)->Arg(10'000)->Arg(1'000'000)->Iterations(240'000);
BENCHMARK(TypingNoVirtualSpace)->Arg(10'000)->Arg(1'000'000)->Iterations(240'000);
BENCHMARK(CaretMovesVirtual)->Arg(10'000)->Arg(1'000'000);
BENCHMARK(CaretMovesNoVirtualSpace)->Arg(10'000)->Arg(1'000'000);

BENCHMARK_MAIN();
