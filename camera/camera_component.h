// The camera component VedioCapture.dll beside the program: loaded by its full path on the
// first call and kept for the life of the process. Without the file, or without one of
// its exports, the calls do nothing.
#pragma once

#include "platform/deployment.h"

#include <windows.h>

#include <optional>
#include <string>

namespace camera {

inline constexpr platform::ComponentFile kVedioCapture{L"VedioCapture.dll", L"VEDIOCAPTURE_DLL"};

// The component's camera list text, copied and converted from the ANSI code page to
// UTF-8; nullopt when the component gives none. Split it only after the conversion: in a
// double-byte code page "|" can be the second byte of a character.
std::optional<std::string> CameraListText();

// Why VedioCapture.dll, present beside the program, could not be loaded (a library of the
// other width, a damaged file), in words for the operator; empty when it loaded or is absent.
std::string ComponentProblem();

// SetCameraId's and CloseCamera's results tell nothing the program could act on. StartCamera
// is true when the component answered that the picture runs (false without the component);
// a start that fails is shown in the preview by the component itself.
void SetCameraId(int cameraIndex);
bool StartCamera(HWND previewWindow);
void CloseCamera(int cameraIndex);

}  // namespace camera
