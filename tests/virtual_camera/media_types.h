// The media types the virtual camera offers: uncompressed video with a VIDEOINFOHEADER,
// one per pixel format and frame size, and the copies DirectShow callers receive.
#pragma once

#include "camera_control.h"
#include "camera_pattern.h"

#include <windows.h>
#include <dshow.h>

#include <optional>
#include <vector>

namespace vcam {

struct VideoFormat {
    PixelFormat pixels = PixelFormat::Rgb24;
    FrameSize size;
    friend bool operator==(VideoFormat, VideoFormat) = default;
};

inline constexpr REFERENCE_TIME kFrameInterval = 10'000'000 / kFramesPerSecond;

// Every format the camera offers under `control`, in the order a device lists them.
std::vector<VideoFormat> OfferedFormats(const Control& control);

// The format a media type describes, when it is one this camera can deliver.
std::optional<VideoFormat> DescribedFormat(const AM_MEDIA_TYPE& type);

// A media type owning its format block.
class MediaType {
public:
    MediaType() = default;
    explicit MediaType(VideoFormat format);
    ~MediaType();
    MediaType(const MediaType&) = delete;
    MediaType& operator=(const MediaType&) = delete;

    const AM_MEDIA_TYPE& Get() const { return type_; }
    // A deep copy in task memory, for callers that free it with DeleteMediaType's rules;
    // null when memory ran out.
    AM_MEDIA_TYPE* NewCopy() const;
    // A deep copy into a structure the caller owns (its format block in task memory).
    HRESULT CopyTo(AM_MEDIA_TYPE* out) const;

private:
    AM_MEDIA_TYPE type_{};
    VIDEOINFOHEADER header_{};
};

// Frees what a media type in task memory holds, then the type itself.
void DeleteMediaType(AM_MEDIA_TYPE* type);

}  // namespace vcam
