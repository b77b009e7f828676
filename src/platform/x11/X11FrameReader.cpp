#include "platform/x11/X11FrameReader.h"

#include "platform/x11/GeometryLimits.h"
#include "platform/x11/X11Properties.h"
#include "platform/x11/X11Reply.h"

#include <chrono>
#include <thread>

namespace platform::x11 {

namespace {
constexpr int maxRereadings = 8;
constexpr auto pauseBetweenRereadings = std::chrono::milliseconds(2);
// Frames of windows long gone are dropped now and then; window ids are reused.
constexpr std::size_t maxKeptAtRest = 1000;
} // namespace

std::vector<std::optional<FrameReading>> X11FrameReader::read(const std::vector<xcb_window_t>& windows,
                                                              const std::vector<X11FrameWatch::Ancestry>& ancestry,
                                                              Size monitor) {
    auto moments = readAtOneMoment(windows, ancestry, monitor);
    std::vector<std::optional<FrameExtents>> sides(windows.size());
    // Where the declared extents do not stand: those seen at rest before get one more reading to
    // tell whether they are still at rest, the others a few milliseconds to come to rest.
    std::vector<std::size_t> known, unknown;
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const auto& m = moments[i];
        if (!m || !m->frame || (m->declared && frameBearsOut(*m->declared, m->client, *m->frame))) continue;
        const auto kept = keptSides(windows[i], *m);
        if (kept && extentsAround(m->client, *m->frame, monitor) == kept) {
            seenAtRest(windows[i], *m, *kept);
            sides[i] = keptSides(windows[i], *m);
        } else {
            (kept ? known : unknown).push_back(i);
        }
    }
    if (!known.empty()) measureAtRest(windows, ancestry, monitor, 1, moments, known, sides);
    if (!unknown.empty()) measureAtRest(windows, ancestry, monitor, maxRereadings, moments, unknown, sides);

    std::vector<std::optional<FrameReading>> readings(windows.size());
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const auto& m = moments[i];
        if (!m) continue;
        readings[i] = FrameReading{m->client, m->border, sides[i].value_or(m->declared.value_or(FrameExtents{})), m->shadow};
    }
    return readings;
}

void X11FrameReader::measureAtRest(const std::vector<xcb_window_t>& windows,
                                   const std::vector<X11FrameWatch::Ancestry>& ancestry, Size monitor, int rounds,
                                   std::vector<std::optional<Moment>>& moments, std::vector<std::size_t> indices,
                                   std::vector<std::optional<FrameExtents>>& sides) {
    for (int round = 0; round < rounds && !indices.empty(); ++round) {
        if (round > 0) std::this_thread::sleep_for(pauseBetweenRereadings);
        std::vector<xcb_window_t> again;
        std::vector<X11FrameWatch::Ancestry> againAncestry;
        for (auto i : indices) {
            again.push_back(windows[i]);
            againAncestry.push_back(ancestry[i]);
        }
        const auto later = readAtOneMoment(again, againAncestry, monitor);
        std::vector<std::size_t> moving;
        for (std::size_t k = 0; k < indices.size(); ++k) {
            const auto i = indices[k];
            auto& before = moments[i];
            const auto& after = later[k];
            if (!after || !after->frame) {
                before = after; // gone, or no longer framed: nothing to measure
                continue;
            }
            const bool atRest = before && before->frameWindow == after->frameWindow && before->client == after->client &&
                                before->frame == after->frame;
            before = after;
            const auto now = extentsAround(after->client, *after->frame, monitor);
            if (atRest && now) {
                seenAtRest(windows[i], *after, *now);
                sides[i] = keptSides(windows[i], *after);
            } else {
                moving.push_back(i);
            }
        }
        indices = std::move(moving);
    }
    // Still moving: the sides last seen at rest, else what this reading shows.
    for (auto i : indices) {
        const auto& m = moments[i];
        if (!m || !m->frame) continue;
        if (auto kept = keptSides(windows[i], *m)) sides[i] = kept;
        else sides[i] = extentsAround(m->client, *m->frame, monitor);
    }
}

void X11FrameReader::seenAtRest(xcb_window_t window, const Moment& m, const FrameExtents& sides) {
    auto found = atRest_.find(window);
    if (found == atRest_.end() || found->second.frameWindow != m.frameWindow) {
        if (atRest_.size() >= maxKeptAtRest) atRest_.clear();
        atRest_[window] = {m.frameWindow, std::nullopt, sides, m.frame->size, std::nullopt};
        return;
    }
    auto& kept = found->second;
    if (kept.confirmed == sides) return;
    // The same sides around a frame of another size: the decorations, not a move caught halfway
    // (whose sides are the difference of two sizes).
    const auto confirms = [&](const FrameExtents& seen, Size frame) { return seen == sides && frame != m.frame->size; };
    if (confirms(kept.candidate, kept.candidateFrame) || (kept.larger && confirms(kept.larger->sides, kept.larger->frame))) {
        kept.confirmed = sides;
        kept.candidate = sides;
        kept.candidateFrame = m.frame->size;
        kept.larger.reset();
        return;
    }
    // A window manager held up between resizing the frame and the client shows, even twice alike,
    // right or bottom sides too large by the difference of the two sizes, never too small (the
    // client would stick out). With the client at the same place in its frame, the smaller sides
    // stand until the larger ones are seen around a frame of another size.
    if (!kept.confirmed && sides.left == kept.candidate.left && sides.top == kept.candidate.top &&
        sides.right >= kept.candidate.right && sides.bottom >= kept.candidate.bottom) {
        kept.larger = AtRest::Seen{sides, m.frame->size};
        return;
    }
    kept.candidate = sides;
    kept.candidateFrame = m.frame->size;
    kept.larger.reset();
}

std::optional<FrameExtents> X11FrameReader::keptSides(xcb_window_t window, const Moment& m) const {
    const auto found = atRest_.find(window);
    if (found == atRest_.end() || found->second.frameWindow != m.frameWindow) return std::nullopt;
    // Where the client sits in the frame changes with the decorations only.
    auto fits = [&](const FrameExtents& sides) {
        return sides.left == m.client.minX() - m.frame->minX() && sides.top == m.client.minY() - m.frame->minY();
    };
    const auto& kept = found->second;
    if (kept.confirmed && fits(*kept.confirmed)) return kept.confirmed;
    if (fits(kept.candidate)) return kept.candidate;
    return std::nullopt;
}

std::vector<std::optional<X11FrameReader::Moment>> X11FrameReader::readAtOneMoment(
    const std::vector<xcb_window_t>& windows, const std::vector<X11FrameWatch::Ancestry>& ancestry, Size monitor) {
    auto* c = connection_.xcb();
    struct Requests {
        xcb_get_geometry_cookie_t geometry;
        xcb_translate_coordinates_cookie_t origin;
        // Only for a reparented client: its parent now, and the window manager's frame window.
        std::optional<xcb_query_tree_cookie_t> parent;
        std::optional<xcb_get_geometry_cookie_t> frameWindow;
        PendingProperty declared, shadow;
    };
    const xcb_atom_t declaredAtom = connection_.ewmh()->_NET_FRAME_EXTENTS, shadowAtom = connection_.atom("_GTK_FRAME_EXTENTS");
    std::vector<Requests> requests;
    requests.reserve(windows.size());
    // Every request first, then every answer: one round trip for all the windows. The server runs
    // no one else's requests until these are done.
    xcb_grab_server(c);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const auto window = windows[i];
        Requests r{xcb_get_geometry(c, window), xcb_translate_coordinates(c, window, connection_.root(), 0, 0), {}, {},
                   PendingProperty(connection_, window, declaredAtom, XCB_ATOM_CARDINAL, 4),
                   PendingProperty(connection_, window, shadowAtom, XCB_ATOM_CARDINAL, 4)};
        if (const auto& above = ancestry[i].above; above && !above->empty()) {
            r.parent = xcb_query_tree(c, window);
            r.frameWindow = xcb_get_geometry(c, above->back());
        }
        requests.push_back(std::move(r));
    }
    xcb_ungrab_server(c);
    xcb_flush(c);

    std::vector<std::optional<Moment>> moments(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto& r = requests[i];
        auto geometry = waitForReply(c, xcb_get_geometry_reply, r.geometry);
        auto origin = waitForReply(c, xcb_translate_coordinates_reply, r.origin);
        Moment m;
        if (r.parent) {
            auto tree = waitForReply(c, xcb_query_tree_reply, *r.parent);
            auto outer = waitForReply(c, xcb_get_geometry_reply, *r.frameWindow);
            // Reparented since the walk: the window measured is no longer its frame.
            if (tree && outer && tree->parent == ancestry[i].above->front()) {
                const double border = outer->border_width;
                m.frameWindow = ancestry[i].above->back();
                m.frame = Rect(outer->x, outer->y, outer->width + 2 * border, outer->height + 2 * border);
            }
        }
        // Anyone can set either property; a made-up size is refused.
        auto extents = [&](PendingProperty& property, const char* name) -> std::optional<FrameExtents> {
            auto values = property.values32();
            if (!values) return std::nullopt;
            if (auto plausible = plausibleFrameExtents(*values, monitor)) return plausible;
            reportRefusedProperty(windows[i], name, listOfValues(*values) + ": a side beyond a quarter of the monitor");
            return std::nullopt;
        };
        m.declared = extents(r.declared, "_NET_FRAME_EXTENTS");
        m.shadow = extents(r.shadow, "_GTK_FRAME_EXTENTS").value_or(FrameExtents{});
        if (!geometry || !origin) continue;
        m.border = geometry->border_width;
        m.client = Rect(origin->dst_x - m.border, origin->dst_y - m.border, geometry->width + 2 * m.border,
                        geometry->height + 2 * m.border);
        moments[i] = m;
    }
    return moments;
}

} // namespace platform::x11
