#pragma once

#include "platform/x11/FrameExtents.h"
#include "platform/x11/X11FrameWatch.h"

#include <optional>
#include <unordered_map>
#include <vector>

namespace platform::x11 {

// A client window and what lies around it.
struct FrameReading {
    Rect client; // in root coordinates, border included
    double border = 0;
    FrameExtents decoration; // as the window manager's frame bears them out
    FrameExtents shadow;     // _GTK_FRAME_EXTENTS
};

// Reads client windows and the decorations around them so that neither a client that overwrote
// _NET_FRAME_EXTENTS nor a window manager busy moving the window makes them up.
//
// Each reading is taken at one moment (no other client's request runs between its parts). The
// declared extents stand where the frame window bears them out (frameBearsOut). Otherwise the
// frame window's sides count; but a window manager moves and resizes the frame and the client with
// separate requests, sometimes milliseconds apart, and between them the right and bottom sides
// show the difference of two sizes. So sides are taken only from a window at rest (two readings
// that agree), and they are sure once the same sides were seen around frames of two sizes. While
// the window moves, the sides seen at rest stand in.
class X11FrameReader {
public:
    explicit X11FrameReader(X11Connection& connection) : connection_(connection) {}

    // For each window (ancestry from X11FrameWatch::watch): its reading, none when it is gone.
    // `monitor`: the size beyond whose quarter a declared side is made up.
    std::vector<std::optional<FrameReading>> read(const std::vector<xcb_window_t>& windows,
                                                  const std::vector<X11FrameWatch::Ancestry>& ancestry, Size monitor);

private:
    struct Moment {
        Rect client;
        double border = 0;
        std::optional<FrameExtents> declared; // unless absent or made up
        xcb_window_t frameWindow = XCB_WINDOW_NONE;
        std::optional<Rect> frame; // the frame window, when the client has one
        FrameExtents shadow;
    };
    std::vector<std::optional<Moment>> readAtOneMoment(const std::vector<xcb_window_t>& windows,
                                                       const std::vector<X11FrameWatch::Ancestry>& ancestry, Size monitor);
    // The sides of the frame windows of the clients at `indices`, read again up to `rounds` times
    // until they are at rest; `moments` get the last readings.
    void measureAtRest(const std::vector<xcb_window_t>& windows, const std::vector<X11FrameWatch::Ancestry>& ancestry,
                       Size monitor, int rounds, std::vector<std::optional<Moment>>& moments, std::vector<std::size_t> indices,
                       std::vector<std::optional<FrameExtents>>& sides);
    void seenAtRest(xcb_window_t window, const Moment& m, const FrameExtents& sides);
    // The sides seen at rest around this client (the sure ones first), while its frame window and
    // its place in it are the same.
    std::optional<FrameExtents> keptSides(xcb_window_t window, const Moment& m) const;

    X11Connection& connection_;
    struct AtRest {
        xcb_window_t frameWindow;
        std::optional<FrameExtents> confirmed; // seen around frames of two sizes
        FrameExtents candidate;                // seen last
        Size candidateFrame;
        struct Seen {
            FrameExtents sides;
            Size frame;
        };
        std::optional<Seen> larger; // seen since, larger on the right or bottom only
    };
    std::unordered_map<xcb_window_t, AtRest> atRest_;
};

} // namespace platform::x11
