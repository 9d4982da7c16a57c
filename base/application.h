#pragma once
// The application's title: the caption of every message box it shows, and
// the name of its single-instance mutex.
inline constexpr const char* kApplicationTitle = "Vorlane";
