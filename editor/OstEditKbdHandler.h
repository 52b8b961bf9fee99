#pragma once
// Keyboard handler chains: extensions of the editor control register for key
// down, key up and key press, and run after the host's own key event and
// before the control's processing.

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "editor/OstEditKeyCmds.h"

namespace ostrel {

class TCustomOstEdit;

// A command event may change the command and its character; setting the
// command to ecNone stops it.
using TOstProcessCommandEvent = std::function<void(TOstEditorCommand& command, char& aChar, const void* data)>;
// A command hook runs before the executor (afterProcessing false) and after
// it; marking the command handled stops it.
using TOstHookedCommandEvent = std::function<void(bool afterProcessing, bool& handled, TOstEditorCommand& command,
                                                  char& aChar, const void* data)>;

// Handlers known by their owner, called in the order they were added. Adding
// an owner again replaces its handler.
template <typename Handler>
class TMethodList {
public:
    void Add(const void* owner, Handler handler)
    {
        for (auto& entry : entries_) {
            if (entry.first == owner) {
                entry.second = std::move(handler);
                return;
            }
        }
        entries_.emplace_back(owner, std::move(handler));
    }
    void Remove(const void* owner)
    {
        std::erase_if(entries_, [owner](const auto& entry) { return entry.first == owner; });
    }
    int Count() const { return static_cast<int>(entries_.size()); }
    // A snapshot, so that a handler may add or remove handlers safely.
    std::vector<Handler> Handlers() const
    {
        std::vector<Handler> result;
        for (const auto& entry : entries_)
            result.push_back(entry.second);
        return result;
    }

private:
    std::vector<std::pair<const void*, Handler>> entries_;
};

// A handler sets the key to 0 to consume it; later handlers then do not run.
using TOstKeyEvent = std::function<void(TCustomOstEdit& sender, uint16_t& key, uint8_t shift)>;
using TOstKeyPressEvent = std::function<void(TCustomOstEdit& sender, char& key)>;

class TOstEditKbdHandler {
public:
    void AddKeyDownHandler(const void* owner, TOstKeyEvent handler) { keyDown_.Add(owner, std::move(handler)); }
    void RemoveKeyDownHandler(const void* owner) { keyDown_.Remove(owner); }
    void AddKeyUpHandler(const void* owner, TOstKeyEvent handler) { keyUp_.Add(owner, std::move(handler)); }
    void RemoveKeyUpHandler(const void* owner) { keyUp_.Remove(owner); }
    void AddKeyPressHandler(const void* owner, TOstKeyPressEvent handler)
    {
        keyPress_.Add(owner, std::move(handler));
    }
    void RemoveKeyPressHandler(const void* owner) { keyPress_.Remove(owner); }

    // Each runs its chain once; a chain reached again from one of its own
    // handlers does not run a second time.
    void ExecuteKeyDown(TCustomOstEdit& sender, uint16_t& key, uint8_t shift);
    void ExecuteKeyUp(TCustomOstEdit& sender, uint16_t& key, uint8_t shift);
    void ExecuteKeyPress(TCustomOstEdit& sender, char& key);

private:
    static void RunKeyChain(const TMethodList<TOstKeyEvent>& chain, bool& running, TCustomOstEdit& sender,
                            uint16_t& key, uint8_t shift);

    TMethodList<TOstKeyEvent> keyDown_;
    TMethodList<TOstKeyEvent> keyUp_;
    TMethodList<TOstKeyPressEvent> keyPress_;
    bool inKeyDown_ = false;
    bool inKeyUp_ = false;
    bool inKeyPress_ = false;
};

}  // namespace ostrel
