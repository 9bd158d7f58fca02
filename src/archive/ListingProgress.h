#pragma once

// What a listing reports while it walks the listing file: a range and
// positions in bytes of that file, and a chance to keep the window alive
// after every line.  Dialogs put it on a progress bar; tests record it.
class ListingProgress
{
public:
    virtual ~ListingProgress() = default;

    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    // Called after every line; a window processes its waiting events here.
    virtual void ProcessEvents() = 0;
};
