// The start-up bench's reference program: its window title, shared with the launcher.
#pragma once

inline constexpr const char* kBlankWindowTitle = "tarvok bench: blank window";
