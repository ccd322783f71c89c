// The one owner of the reader component: nothing else can reach it. Before it starts, the
// window's thread has it scan for the reader once; from then on a thread of its own makes
// every call, one at a time, both the reads the operator asks for and the looks that find a
// card laid on the reader. The window never waits for it: what it finds is kept here and
// announced through the window's post path.
#pragma once

#include "reader/look_rule.h"
#include "reader/reader_component.h"
#include "ui/post_queue.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace reader {

// What one read, or one look at the reader, came to.
struct CardOutcome {
    bool asked = false;       // a press asked for it; otherwise a card was laid down
    bool read = false;        // the card was read: name and idNumber hold its fields
    bool readerLost = false;  // the watch found the reader gone
    bool removed = false;     // the card read last has been taken away
    std::string name, idNumber;
    int lookUpsWithoutReader = 0;  // fields looked up when no reader answered the scan
};

class CardWatcher {
public:
    // Vendors advise no faster: the reader's own find takes up to 100 ms.
    static constexpr std::chrono::milliseconds kLookInterval{300};
    // A card lying there since its read is read again this often: no look tells a card
    // swapped faster than one look from the card read, and a save takes longer than this.
    static constexpr std::chrono::milliseconds kReadAgainEvery{3000};
    // An empty reader is asked whether it is still there on every fourth look only: asking
    // reopens its port, the dearest part of watching (idle, it cost more than the looks).
    static constexpr int kLooksPerPresenceCheck = 4;
    // Checks in a row that find no reader before it counts as gone (about 3.6 s): one slow
    // answer is not.
    static constexpr int kChecksBeforeLost = 3;

    CardWatcher() = default;
    ~CardWatcher();
    CardWatcher(const CardWatcher&) = delete;
    CardWatcher& operator=(const CardWatcher&) = delete;

    // Before Start, on the window's thread: the start-up scan of the ports (1 when a reader
    // answered), and why the component could not be loaded (empty when it could).
    int ScanForReader();
    std::string LoadProblem();

    // Starts the owner's thread: from now on only it calls the component. Each outcome is
    // announced by posting `outcomesReady` through `window`; with `watch`, it looks for cards.
    void Start(ui::Poster window, std::function<void()> outcomesReady, bool watch);
    bool Started() const { return thread_.joinable(); }
    // A read as the Read-card press makes it, after whatever call is under way.
    void RequestRead();
    // The next look tells what lies on the reader whatever the watch knew: the card lying
    // there read again and announced even when it is the card read before, or its removal.
    // The desk asks before it acts on a card that waited through a box.
    void RequestConfirmation();
    // No looks while paused (a box is open); nests. Outcomes kept meanwhile are announced
    // again when the last pause ends, and a card found lying afterwards is read again.
    void Pause();
    void Resume();
    // The outcomes so far, oldest first; on the window's thread.
    std::vector<CardOutcome> TakeOutcomes();

private:
    void Run();
    // Reads the card on the reader and looks its fields up. Without `selected` it selects it
    // first; `beep` sounds the read. With `rule` (a look's read), whether the read names a
    // card decides; nullopt when it names none. A read asked for, or a confirmation that
    // read the card, is always announced.
    std::optional<CardOutcome> Read(bool asked, bool confirming, bool selected, bool beep, LookRule& rule,
                                    LookRule::Step step);
    // Keeps `outcome` and tells the window; with the mutex held.
    void Announce(CardOutcome outcome);

    ReaderComponent component_;
    ui::Poster window_;
    std::function<void()> outcomesReady_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool readAsked_ = false;
    bool confirmationAsked_ = false;
    bool watching_ = false;
    int paused_ = 0;
    bool pausedSinceLook_ = false;
    std::vector<CardOutcome> outcomes_;
    std::thread thread_;
};

}  // namespace reader
