#pragma once

#include "core/result.h"

#include <functional>

class Document_Guard;
class QWidget;
struct Workspace;

// How a window's OK went: saved (the window closes), the user chose to read
// the file again (the window shows it as it is now), the save failed (and
// the refusal was shown), or the user cancelled.
enum class Guarded_Save { Saved, Reload, Failed, Cancelled };

// Saves a window's document with `save`, never over a change made elsewhere
// without asking: when the file changed since the window read it, the user
// chooses between overwriting that change and reloading the file. A
// document of a configuration is saved under the configuration's lock
// (`configuration` given), held only for the save: a window open for hours
// must not stop every command meanwhile.
Guarded_Save Save_Guarded(QWidget *parent, Document_Guard &guard, const std::function<Result<>()> &save,
                          const Workspace *configuration = nullptr);
