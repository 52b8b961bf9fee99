// Ring buffer of fixed capacity, used by the serial port reader.
#include <cstddef>
#include <cstring>
#include "ring_buffer.h"

#define RB_MAGIC 0x5242u
#define RB_ASSERT(cond) \
    do { if (!(cond)) rb_fail(__FILE__, __LINE__, #cond); } while (0)

namespace io {

/*
 * The buffer never allocates after construction; capacity must be a power
 * of two so that the index arithmetic can use a mask.
 */
template <typename T, std::size_t N>
class RingBuffer {
public:
    static_assert((N & (N - 1)) == 0, "capacity must be a power of two");

    bool push(const T& value)
    {
        if (full())
            return false;
        items_[head_++ & (N - 1)] = value;
        return true;
    }

    bool pop(T& out)
    {
        if (empty()) return false;
        out = items_[tail_++ & (N - 1)];
        return true;
    }

    bool empty() const { return head_ == tail_; }
    bool full() const { return head_ - tail_ == N; }
    std::size_t size() const { return head_ - tail_; }

private:
    T items_[N];
    std::size_t head_ = 0, tail_ = 0;  // free-running counters
};

inline unsigned checksum(const unsigned char* p, std::size_t n)
{
    unsigned long sum = 0xFFFFUL;
    for (std::size_t i = 0; i < n; ++i) {
        sum = (sum << 1) ^ p[i];
        sum += sum >> 16;
    }
    return static_cast<unsigned>(sum & 0xFFFF);
}

const char* const kNames[] = { "idle", "busy\t(waiting)", "done: \"ok\"", 'x' == 120 ? "yes" : "no" };
const double kRatio = 1.5e-3, kScale = .25, kLimit = 3.0f;
const long long kBig = 9007199254740993LL;
const int kMode = 0755, kMask = 0x1F;

#if defined(_WIN32) && !defined(__GNUC__)
static void __fastcall spin(int count)
{
    __asm {
        mov ecx, count   ; loop counter
    again:
        dec ecx
        jnz again
    }
}
#endif

}  // namespace io
