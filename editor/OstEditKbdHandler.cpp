#include "editor/OstEditKbdHandler.h"

namespace ostrel {

namespace {

// Clears the flag when the chain ends, an exception included.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& flag_;
};

}  // namespace

void TOstEditKbdHandler::RunKeyChain(const TMethodList<TOstKeyEvent>& chain, bool& running,
                                     TCustomOstEdit& sender, uint16_t& key, uint8_t shift)
{
    if (running)
        return;
    Running guard(running);
    for (const TOstKeyEvent& handler : chain.Handlers()) {
        handler(sender, key, shift);
        if (key == 0)
            return;
    }
}

void TOstEditKbdHandler::ExecuteKeyDown(TCustomOstEdit& sender, uint16_t& key, uint8_t shift)
{
    RunKeyChain(keyDown_, inKeyDown_, sender, key, shift);
}

void TOstEditKbdHandler::ExecuteKeyUp(TCustomOstEdit& sender, uint16_t& key, uint8_t shift)
{
    RunKeyChain(keyUp_, inKeyUp_, sender, key, shift);
}

void TOstEditKbdHandler::ExecuteKeyPress(TCustomOstEdit& sender, char& key)
{
    if (inKeyPress_)
        return;
    Running guard(inKeyPress_);
    for (const TOstKeyPressEvent& handler : keyPress_.Handlers()) {
        handler(sender, key);
        if (key == 0)
            return;
    }
}

}  // namespace ostrel
