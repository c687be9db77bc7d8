#pragma once

// A window whose texts come from the message table: Set_Lang copies its
// captions, hints, list items and column headers from it again.
class Lang_Window
{
public:
    virtual ~Lang_Window() = default;
    virtual void Set_Lang() = 0;
};
