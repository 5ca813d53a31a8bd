#pragma once
#include <QImage>
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <optional>

// Layout of the note glyph sheet (102 x 80, black ink on white) and the
// treble clef picture, shared by the staff view and printing.  All numbers are
// sheet pixels from the top-left corner.
namespace notivo::staff {

inline constexpr int GlyphSheetWidth = 102;
inline constexpr int GlyphSheetHeight = 80;
inline constexpr int ClefWidth = 32;
inline constexpr int ClefHeight = 85;

// One row of note pictures per accidental code.  A picture is copied with its
// top-left corner at (x - cell shift, y - anchorDrop), which puts the head's
// centre at about (x, y + 2).
struct GlyphBand {
    int top;        // first sheet row
    int height;     // rows copied
    int anchorDrop; // d: rows above the row anchor y
    int headTop;    // first band row of the note head (head is 9 rows high)
};
inline constexpr GlyphBand PlainBand{0, 25, 18, 16};
inline constexpr GlyphBand SharpBand{26, 27, 20, 18};
inline constexpr GlyphBand FlatBand{55, 27, 18, 16}; // its last two rows lie beyond the sheet (white)

// The band of an accidental code (0 plain, 1 sharp, 2 flat), nullptr for any other code.
constexpr const GlyphBand* glyphBand(int accidental)
{
    switch (accidental) {
    case 0: return &PlainBand;
    case 1: return &SharpBand;
    case 2: return &FlatBand;
    default: return nullptr;
    }
}

// The columns of one note picture, the same in every band.
struct NoteCell {
    int left;     // first sheet column
    int width;    // columns copied
    int shift;    // columns left of the column anchor x
    int headLeft; // first cell column of the head (13 columns wide)
    int stem;     // cell column of the stem, -1 for none
};
inline constexpr NoteCell SemiquaverCell{66, 20, 7, 0, 12};
inline constexpr NoteCell QuaverCell{0, 20, 5, 0, 12};
inline constexpr NoteCell QuarterCell{23, 14, 5, 0, 12};
inline constexpr NoteCell HalfCell{36, 14, 7, 1, 13};
inline constexpr NoteCell WholeCell{52, 14, 7, 0, -1};
inline constexpr int NoteHeadWidth = 13;
inline constexpr int NoteHeadHeight = 9;

// The cell of a note id 1..5, nullptr for any other id.
constexpr const NoteCell* noteCell(int id)
{
    switch (id) {
    case 1: return &SemiquaverCell;
    case 2: return &QuaverCell;
    case 3: return &QuarterCell;
    case 4: return &HalfCell;
    case 5: return &WholeCell;
    default: return nullptr;
    }
}

// Rests always sit at a fixed height in the middle of the staff.
struct RestCell {
    int left, top, width, height; // sheet rectangle
    int shift;                    // placed at x - shift ...
    int canvasY;                  // ... and this fixed canvas row
};
inline constexpr RestCell QuarterPauseCell{91, 0, 9, 25, 2, 79};
inline constexpr RestCell QuaverPauseCell{91, 28, 11, 17, 5, 82};

// The cell of a rest id (10, 11), nullptr for any other id.
constexpr const RestCell* restCell(int id)
{
    return id == 10 ? &QuarterPauseCell : id == 11 ? &QuaverPauseCell : nullptr;
}

// The widest reach of any glyph left and right of its column anchor x:
// what a column needs around its anchor to be drawn whole.
inline constexpr int GlyphLeftReach =
    std::max({SemiquaverCell.shift, QuaverCell.shift, QuarterCell.shift, HalfCell.shift, WholeCell.shift,
              QuarterPauseCell.shift, QuaverPauseCell.shift});
inline constexpr int GlyphRightReach = std::max(
    {SemiquaverCell.width - SemiquaverCell.shift, QuaverCell.width - QuaverCell.shift,
     QuarterCell.width - QuarterCell.shift, HalfCell.width - HalfCell.shift, WholeCell.width - WholeCell.shift,
     QuarterPauseCell.width - QuarterPauseCell.shift, QuaverPauseCell.width - QuaverPauseCell.shift});

// Where the picture of one score cell comes from and where it goes: the
// sheet rectangle and its top-left corner for the anchors (x, y).  Every
// drawing of the score (canvas, preview, paper) places glyphs by these.
struct GlyphPlacement {
    QRect source; // on the glyph sheet (the flat band reaches two rows below it)
    QPoint at;    // top-left corner, in canvas pixels
};

// A note (ids 1..5) in the band of its accidental; nothing for other ids and
// for an accidental code of 3 or more (such a note has no picture).
constexpr std::optional<GlyphPlacement> notePlacement(int x, int y, int id, int accidental)
{
    const NoteCell* cell = noteCell(id);
    const GlyphBand* band = glyphBand(accidental);
    if (!cell || !band)
        return std::nullopt;
    return GlyphPlacement{QRect(cell->left, band->top, cell->width, band->height),
                          QPoint(x - cell->shift, y - band->anchorDrop)};
}

// A rest (ids 10, 11) at its fixed height, whatever row it is stored in;
// nothing for other ids.
constexpr std::optional<GlyphPlacement> restPlacement(int x, int id)
{
    const RestCell* cell = restCell(id);
    if (!cell)
        return std::nullopt;
    return GlyphPlacement{QRect(cell->left, cell->top, cell->width, cell->height),
                          QPoint(x - cell->shift, cell->canvasY)};
}

// What the staff shows for a cell: its note picture or its rest.
constexpr std::optional<GlyphPlacement> glyphPlacement(int x, int y, int id, int accidental)
{
    return noteCell(id) ? notePlacement(x, y, id, accidental) : restPlacement(x, id);
}

// A filled 11 x 7 block kept on the sheet; nothing copies it.
inline constexpr int SpareBlockLeft = 91, SpareBlockTop = 63, SpareBlockWidth = 11, SpareBlockHeight = 7;

// The compiled-in pictures (":/images/glyphs.png", ":/images/clef.png") as
// RGB32 images, ready for raster AND copies onto a canvas drawn at `ratio`
// (the canvas's device pixel ratio; the sheet is laid out in logical pixels
// as above).  Loaded once per ratio; a missing picture gives a white image of
// the right size, so drawing never fails.
const QImage& glyphSheet(qreal ratio = 1.0);
const QImage& clefImage(qreal ratio = 1.0);

} // namespace notivo::staff
