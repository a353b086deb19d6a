#pragma once
// The geometry of a page picture as the content stores it and the reader reads it: the picture
// size, the fifteen line bands, the reading position and the level from which the highlight
// paints. The reader, the content tool and its checks all take these from here.

// Every page picture is this size, 8 bits per pixel.
inline constexpr int PagePictureWidth = 462;
inline constexpr int PagePictureHeight = 690;

inline constexpr int LinesPerPage = 15;

// The columns text is set between: a justified line runs from the one edge to the other.
inline constexpr int PageTextLeft = 18;
inline constexpr int PageTextWidth = PagePictureWidth - 2 * PageTextLeft;

// Height of a default line band and the scroll box's step.
inline constexpr int DefaultLineHeight = 46;

// Band bounds of lines 1 to 15 of a page without a Lines row: line i runs from entry i - 1 to
// entry i (line 15 ends at the picture's last row).
inline constexpr int DefaultLineRows[LinesPerPage + 1] = {0,   46,  92,  138, 184, 230, 276, 322,
                                                          368, 414, 460, 506, 552, 598, 644, 689};

// The default band of a line, 1 to 15: its first and its last row.
constexpr int DefaultStartRow(int line) {
    return DefaultLineRows[line - 1];
}
constexpr int DefaultEndRow(int line) {
    return DefaultLineRows[line];
}

// The highlight paints a pixel only where all three channels are below this level; anything
// drawn besides the text must be at least this light.
inline constexpr int HighlightLevel = 130;

// The reading position of column x on a line of a picture that wide: lines from top to
// bottom, and along a line from right to left.
constexpr int ReadingPosition(int pictureWidth, int line, int x) {
    return pictureWidth * (line - 1) + (pictureWidth - x);
}
