#pragma once
// What the main window's helpers ask before they act on the book.

// Whether there is a book to act on: none when it could not be built or the window has been
// closed.
bool HasBook();
