// The frame reader and the text block parser on any bytes. The input is one stream of
// frames, fed to a reader of each direction in chunks whose sizes come from the input
// itself; the sanitizers catch reads outside the buffers, the checks below catch frames
// that are not what the stream held, and events lost or invented by the chunking.
#include "card_text.h"
#include "sam_base_message.h"
#include "sam_frame.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using Status = sam::FrameReader::Status;

void Check(bool holds) {
    if (!holds) std::abort();
}

struct Event {
    Status status;
    sam::Frame frame;
};

// Feeds `stream` in chunks of 1..64 bytes (sizes drawn from `sizes`, cycling) and checks
// every frame against the stream's bytes it came from. The events, in order.
std::vector<Event> ReadAll(sam::Direction direction, std::span<const std::uint8_t> stream,
                           std::span<const std::uint8_t> sizes) {
    const std::size_t headSize = direction == sam::Direction::Request ? 2 : 3;
    sam::FrameReader reader(direction);
    std::vector<Event> events;
    std::size_t fed = 0;
    for (std::size_t turn = 0; fed < stream.size(); ++turn) {
        const std::size_t size = sizes.empty() ? stream.size() : 1 + sizes[turn % sizes.size()] % 64;
        const std::size_t chunk = std::min(size, stream.size() - fed);
        reader.Feed(stream.subspan(fed, chunk));
        fed += chunk;
        for (Status status; (status = reader.Next()) != Status::NeedMore;) {
            Event event{status, {}};
            if (status == Status::Frame) {
                event.frame = reader.Take();
                // The frame, built again, is exactly the bytes the reader just consumed.
                const std::span<const std::uint8_t> head(event.frame.head.data(), headSize);
                const std::vector<std::uint8_t> again = sam::BuildFrame(head, event.frame.data);
                Check(reader.Consumed() >= again.size() && reader.Consumed() <= fed);
                const auto source = stream.subspan(reader.Consumed() - again.size(), again.size());
                Check(std::equal(again.begin(), again.end(), source.begin(), source.end()));
                if (headSize == 2) Check(event.frame.head[2] == 0);
            }
            events.push_back(std::move(event));
        }
        Check(reader.Consumed() + reader.Pending() == fed);
        Check(reader.Missing() <= sam::kMaxLength + sam::kPreamble.size() + 2);
    }
    return events;
}

bool SameEvents(const std::vector<Event>& a, const std::vector<Event>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].status != b[i].status || a[i].frame.head != b[i].frame.head || a[i].frame.data != b[i].frame.data)
            return false;
    }
    return true;
}

void CheckTextBlock(std::span<const std::uint8_t> block) {
    const auto fields = card::ParseTextBlock(block);
    if (block.size() < card::kTextBlockSize) Check(!fields);
    if (!fields) return;
    Check(fields->typeMark == card::kResidentMark || fields->typeMark == card::kPermitMark);
    for (const std::u16string* field : {&fields->name, &fields->sexCode, &fields->nationCode, &fields->birthDate,
                                        &fields->address, &fields->idNumber, &fields->authority, &fields->validFrom,
                                        &fields->validUntil}) {
        Check(field->empty() || field->back() != u' ');  // padding gone
    }
    // Built again and read again, the card says the same.
    const auto again = card::ParseTextBlock(card::BuildTextBlock(*fields));
    Check(again && again->name == fields->name && again->address == fields->address &&
          again->idNumber == fields->idNumber && again->validUntil == fields->validUntil &&
          again->typeMark == fields->typeMark);
    const auto fileFields = card::CardFileFields(*fields);
    Check(fileFields[0] == fields->name && fileFields[5] == fields->idNumber);
    (void)card::FitsCardFile(fileFields);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    // The first bytes choose the chunk sizes; all of it is the stream too.
    const std::span<const std::uint8_t> sizes = input.first(std::min<std::size_t>(size, 8));
    for (const sam::Direction direction : {sam::Direction::Request, sam::Direction::Reply}) {
        // However the stream is cut, the reader sees the same frames and faults.
        Check(SameEvents(ReadAll(direction, input, sizes), ReadAll(direction, input, {})));
    }
    if (const auto parts = sam::ParseTextAndPhoto(input)) {
        Check(parts->text.size() + parts->photo.size() + 4 == size);
        CheckTextBlock(parts->text);
    }
    CheckTextBlock(input);
    if (size > 1) CheckTextBlock(input.subspan(1));
    return 0;
}
