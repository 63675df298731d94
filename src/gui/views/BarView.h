#pragma once

#include "core/views/BarGeometry.h"
#include "core/views/BarTrace.h"
#include "gui/views/ViewResources.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace lcdiag {

struct LiveViewData;

// The units and beams of the bar picture: the emitter and the receiver side by side, one
// horizontal beam per row between them, the unit that is not connected faded. The tiles,
// their dimmed copies and the shaded beam lines are made once, so that a redraw only
// copies images and writes the beam numbers.
class BarView {
public:
    BarView(const ViewResources& resources, QImage& picture);

    const BarGeometry& Geometry() const { return geometry_; }

    // The static parts for the connected unit: housings, heads, LEDs off, edges, icons,
    // unit labels, the divider of the picture and the fade of the other unit.
    void PreDraw(ControllerType connected);
    // The 16 beam rows from a scroll position; a row that would look as it does is left.
    void DrawRows(const LiveViewData& data, int firstBeam);
    // The LEDs of both heads, when a byte changed; each unit's last byte is kept for the
    // other's redraws.
    void DrawLeds(std::uint8_t emitterByte, std::uint8_t receiverByte);
    // What was drawn since the last call (the whole picture after PreDraw), so that only
    // that much is shown anew.
    QRect TakeDamage() { return std::exchange(damage_, QRect()); }
    std::uint8_t LastLedByte(ControllerType unit) const;

    // The legend's miniature beams: an end tile as made (row 0 inactive, 1 emitter side,
    // 2 receiver side) and a beam line of a tile column blended onto a background strip.
    const QImage& EndTile(int column, int row) const;
    void BlendBeamLine(QImage& strip, int column) const;

    // Where the diagnostic trace is written: the user's state folder, else the temporary
    // folder (never beside the program).
    static QString TracePath();

private:
    enum Copy { Plain = 0, ShadedForReceiver = 1, ShadedForEmitter = 2 };

    void MakeTiles();
    void MakeLines();
    QImage BackgroundStrip() const;
    QImage Shaded(const QImage& line, ControllerType connected) const;
    QColor BodyColour(ControllerType unit) const;
    void DrawRow(QPainter& painter, int row, const BarRow& look);
    void DrawNumber(QPainter& painter, int row, int beam, ControllerType side);
    void DrawLedCells(QPainter& painter, ControllerType unit, std::uint8_t byte);
    QPoint LedPanelOrigin(ControllerType unit) const;
    void Trace();

    const ViewResources& resources_;
    QImage& picture_;
    BarGeometry geometry_;
    ControllerType connected_ = ControllerType::Receiver;
    std::array<std::optional<BarRow>, BarGeometry::Rows> drawnRows_; // none: to be drawn
    QRect damage_;
    // [column][row 0-2][copy 0 as made, 1 dimmed]
    std::array<std::array<std::array<QImage, 2>, 3>, bar_tile::Columns> tiles_;
    std::array<QImage, bar_tile::Columns> lineCells_;            // the coloured beam-line cell
    QImage lineMask_;                                            // the beam line's mask cell
    std::array<std::array<QImage, 3>, bar_tile::Columns> lines_; // [column][copy]
    std::array<QImage, 3> inactiveLines_;                        // [copy]
    std::uint8_t emitterLeds_ = 0;
    std::uint8_t receiverLeds_ = 0;
    BarTrace trace_;
};

} // namespace lcdiag
