#pragma once

#include "core/messages.h"

#include <QString>

// Text `n` of the message table in the language in use: what every window
// reads for its captions, hints and messages.
inline QString Msg(int n)
{
    return Messages().Get(n);
}
