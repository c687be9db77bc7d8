#pragma once

#include <span>

struct Default_Message
{
    int number;
    const char16_t *text;
};

// The English texts that carry a text, in number order.
std::span<const Default_Message> Default_Messages();
