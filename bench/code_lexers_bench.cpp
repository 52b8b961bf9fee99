// Lexing throughput of the C++, Pascal, Java, SQL, VBScript and Perl lexers
// over large generated files made of realistic snippets: every token with
// its kind and attribute, lines fed as the editor feeds them (each from the
// state the line above left), no output formatting.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/LexerBench.h"
#include "highlighters/OstHighlighterCpp.h"
#include "highlighters/OstHighlighterJava.h"
#include "highlighters/OstHighlighterPas.h"
#include "highlighters/OstHighlighterPerl.h"
#include "highlighters/OstHighlighterSQL.h"
#include "highlighters/OstHighlighterVBScript.h"

namespace {

using namespace ostrel;

const std::vector<std::string> kCpp = {
    "#include <stdio.h>\n#include \"ring_buffer.h\"\n",
    "/*\n * The buffer never allocates after construction; capacity must be a power\n * of two.\n */\n",
    "template <typename T, std::size_t N>\nclass RingBuffer {\npublic:\n    bool push(const T& value)\n    {\n"
    "        if (full())\n            return false;\n        items_[head_++ & (N - 1)] = value;\n"
    "        return true;\n    }\n};\n",
    "inline unsigned checksum(const unsigned char* p, std::size_t n)\n{\n    unsigned long sum = 0xFFFFUL;\n"
    "    for (std::size_t i = 0; i < n; ++i) {\n        sum = (sum << 1) ^ p[i];  // rotate\n"
    "        sum += sum >> 16;\n    }\n    return static_cast<unsigned>(sum & 0xFFFF);\n}\n",
    "#define RB_ASSERT(cond) \\\n    do { if (!(cond)) rb_fail(__FILE__, __LINE__, #cond); } while (0)\n",
    "const char* const kNames[] = { \"idle\", \"busy\\t(waiting)\", \"done: \\\"ok\\\"\" };\n"
    "const double kRatio = 1.5e-3, kScale = .25f;\nconst int kMode = 0755, kMask = 0x1F;\n",
    "void __fastcall TfrmMain::btnAddClick(TObject *Sender)\n{\n    asm {\n        mov ecx, count\n"
    "        dec ecx\n    }\n    lblTotal->Caption = IntToStr(FCount) + 'x';\n}\n",
};

const std::vector<std::string> kPas = {
    "unit Counters;\n\n{$IFDEF VER140}\n  {$WARN SYMBOL_PLATFORM OFF}\n{$ENDIF}\n\ninterface\n\nuses\n"
    "  Windows, SysUtils, Classes;\n",
    "type\n  TCounter = class(TComponent)\n  private\n    FValue: Integer;\n"
    "    procedure SetValue(const AValue: Integer);\n  published\n"
    "    property Value: Integer read FValue write SetValue default 0;\n  end;\n",
    "{ A counter that reports every change.\n  Thread safety is the caller's business. }\n",
    "procedure TCounter.SetValue(const AValue: Integer);\nbegin\n  if AValue <> FValue then\n  begin\n"
    "    FValue := AValue; // remember\n    Changed;\n  end;\nend;\n",
    "const\n  Separator = #13#10;\n  Mask = $FF00;\n  Ratio = 1.5E-3;\n  Quote = 'It''s done';\n"
    "  Range = 1..10;\n",
    "function FastAdd(A, B: Integer): Integer;\nasm\n  ADD EAX, EDX   { the result is in EAX }\nend;\n",
    "(* The old implementation kept a list of listeners;\n   one event is enough now. *)\n",
};

const std::vector<std::string> kJava = {
    "package pl.example.shop;\n\nimport java.util.ArrayDeque;\nimport java.util.Deque;\n",
    "/**\n * A queue of orders waiting for the warehouse.\n * <p>\n * Orders are taken in the order they came.\n */\n",
    "public final class OrderQueue implements Iterable<Order> {\n"
    "    private static final long MAX_WAIT = 30000L;   // milliseconds\n"
    "    private static final double VAT = 0.23, DISCOUNT = 5e-2;\n",
    "    public synchronized void put(Order order) {\n"
    "        if (order == null) throw new IllegalArgumentException(\"order must not be null\");\n"
    "        orders.addLast(order);\n        notifyAll();\n    }\n",
    "    @Override\n    public java.util.Iterator<Order> iterator() {\n        return orders.iterator();\n    }\n",
    "    int shift(int x) { return (x >>> 3) | (x << 2) & MASK ^ ~x; }\n    char sep = '\\'';\n}\n",
};

const std::vector<std::string> kSql = {
    "/* Monthly order report\n   for the warehouse */\n",
    "create procedure dbo.report_orders\n    @month int,\n    @year  int = null\nas\nbegin\n"
    "    declare @total money, @count int\n",
    "    select @count = count(*), @total = sum(amount)\n      from orders o\n"
    "     where datepart(month, o.created) = @month\n       and (@year is null or o.year = @year)\n",
    "    if @@rowcount = 0\n        raiserror 20001 'No orders in the month'\n"
    "    print 'Orders: %1!', @count  -- for the log\n",
    "INSERT INTO orders VALUES (1,7,'Herbata zielona Sencha',12.50,'2003-12-01 10:15:00');\n",
    "SELECT o.id, c.name, o.amount * 1.23 AS gross FROM orders o, customers c\n"
    " WHERE c.id = o.customer_id AND o.status <> 'cancelled' ORDER BY o.amount DESC;\n",
    "  FUNCTION net_pay(p_emp IN emp.empno%TYPE) RETURN NUMBER IS\n    v_sal emp.sal%TYPE;\n  BEGIN\n"
    "    SELECT sal INTO v_sal FROM emp WHERE empno = :emp_no;\n    RETURN v_sal * (1 - c_tax / 100);\n  END;\n",
};

const std::vector<std::string> kVbs = {
    "' Copies the day's reports to the backup share.\nOption Explicit\n\nConst ForReading = 1, ForWriting = 2\n",
    "Set fso = CreateObject(\"Scripting.FileSystemObject\")\n"
    "target = \"\\\\serwer\\kopie\\\" & Year(Now) & \"-\" & Right(\"0\" & Month(Now), 2)\n",
    "Sub CopyReports(folder)\n    Dim file\n    For Each file In folder.Files\n"
    "        If LCase(fso.GetExtensionName(file.Name)) = \"xls\" And file.DateLastModified >= started Then\n"
    "            count = count + 1\n        End If\n    Next\nEnd Sub\n",
    "started = #12/08/2003 06:00#\nIf Err.Number <> 0 Then WScript.Echo \"Error: \" & Err.Description\n",
    "  Do While Not rs.EOF\n    Response.Write \"<tr><td>\" & rs(\"id\") & \"</td></tr>\"\n    rs.MoveNext\n"
    "  Loop\n",
};

const std::vector<std::string> kPerl = {
    "#!/usr/bin/perl -w\n# Counts the words of the files given, most frequent first.\nuse strict;\n",
    "while (my $line = <>) {\n    chomp $line;\n    next if $line =~ /^\\s*(#|$)/;          # blank lines\n"
    "    foreach my $word (split /[^\\w']+/, lc $line) {\n        $count{$word}++;\n    }\n}\n",
    "my @words = sort { $count{$b} <=> $count{$a} || $a cmp $b } keys %count;\n"
    "printf \"%-20s %6d %5.1f%%\\n\", $_, $count{$_}, 100 * $count{$_} / $total for @words;\n",
    "sub new {\n    my ($class, %args) = @_;\n    my $self = bless { rows => [], %args }, ref($class) || $class;\n"
    "    return $self;\n}\n",
    "my $x = 0xFF + 1_000_000 + 1.5e-3;\nmy $str = \"escaped \\\"quote\\\"\" . 'single quote' . $ENV{HOME};\n"
    "print 'Files: ', join(', ', @ARGV), \"\\n\" unless $^W;\n",
};

// About 8 MB of lines made of the snippets in random order.
std::vector<std::string> GenerateLines(const std::vector<std::string>& snippets)
{
    std::mt19937 rng(42);
    std::uniform_int_distribution<size_t> pick(0, snippets.size() - 1);
    std::vector<std::string> lines;
    size_t bytes = 0;
    while (bytes < 8u << 20) {
        const std::string& s = snippets[pick(rng)];
        size_t start = 0;
        for (size_t nl; (nl = s.find('\n', start)) != std::string::npos; start = nl + 1) {
            lines.push_back(s.substr(start, nl - start));
            bytes += lines.back().size() + 1;
        }
    }
    return lines;
}

void RegisterLexer(const char* name, const std::vector<std::string>& snippets,
                   std::function<std::unique_ptr<TOstCustomHighlighter>()> make)
{
    const auto lines = std::make_shared<const std::vector<std::string>>(GenerateLines(snippets));
    benchmark::RegisterBenchmark(name, [lines, make](benchmark::State& state) {
        const auto hl = make();
        bench::LexLines(state, *hl, *lines);
    })->Unit(benchmark::kMillisecond);
}

std::function<std::unique_ptr<TOstCustomHighlighter>()> SqlIn(TSQLDialect dialect)
{
    return [dialect] {
        auto hl = std::make_unique<TOstSQLHighlighter>();
        hl->SetSQLDialect(dialect);
        return std::unique_ptr<TOstCustomHighlighter>(std::move(hl));
    };
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterLexer("BM_CppLexing", kCpp, [] { return std::make_unique<TOstCppHighlighter>(); });
    RegisterLexer("BM_PasLexing", kPas, [] { return std::make_unique<TOstPasHighlighter>(); });
    RegisterLexer("BM_JavaLexing", kJava, [] { return std::make_unique<TOstJavaHighlighter>(); });
    RegisterLexer("BM_SqlLexing/sqlSybase", kSql, SqlIn(sqlSybase));
    RegisterLexer("BM_SqlLexing/sqlOracle", kSql, SqlIn(sqlOracle));
    RegisterLexer("BM_SqlLexing/sqlMySQL", kSql, SqlIn(sqlMySQL));
    RegisterLexer("BM_VbsLexing", kVbs, [] { return std::make_unique<TOstVBScriptHighlighter>(); });
    RegisterLexer("BM_PerlLexing", kPerl, [] { return std::make_unique<TOstPerlHighlighter>(); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
