// The enumerators a pin and a filter hand out: of the one output pin, and of media types.
#pragma once

#include "media_types.h"

#include <dshow.h>

#include <vector>

namespace vcam {

// New enumerators with one reference for the caller.
IEnumPins* NewPinEnumerator(IPin* pin);
IEnumMediaTypes* NewMediaTypeEnumerator(std::vector<VideoFormat> formats);

}  // namespace vcam
