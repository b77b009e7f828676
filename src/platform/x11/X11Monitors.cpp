#include "platform/x11/X11Monitors.h"

#include "platform/x11/GeometryLimits.h"
#include "platform/x11/UsableArea.h"
#include "platform/x11/X11Properties.h"
#include "platform/x11/X11Reply.h"

#include <xcb/randr.h>

#include <algorithm>

namespace platform::x11 {

namespace {
bool isBuiltinName(const std::string& name) {
    for (const char* prefix : {"eDP", "LVDS", "DSI"}) {
        if (name.rfind(prefix, 0) == 0) return true;
    }
    return false;
}
} // namespace

X11Monitors::X11Monitors(X11Connection& connection, X11Clients& clients) : connection_(connection), clients_(clients) {
    const auto* extension = xcb_get_extension_data(connection_.xcb(), &xcb_randr_id);
    if (extension && extension->present) {
        auto version = waitForReply(connection_.xcb(), xcb_randr_query_version_reply,
                                    xcb_randr_query_version(connection_.xcb(), 1, 5));
        hasMonitors_ = version && (version->major_version > 1 || version->minor_version >= 5);
        randrFirstEvent_ = extension->first_event;
        xcb_randr_select_input(connection_.xcb(), connection_.root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE);
    }
    // What is read is kept until the server says it changed: the monitors (RandR), the work areas
    // (root properties) and the panels' struts (properties of every managed window, which the
    // clients' reader watches: panels may change them without the window manager touching the root).
    connection_.addRootEventMask(XCB_EVENT_MASK_PROPERTY_CHANGE);
    // Monitors set up with RandR's monitor requests (xrandr --setmonitor) are announced only as a
    // new configuration of the root window, with no RandR event.
    connection_.addRootEventMask(XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    connection_.flush();
    eventToken_ = connection_.addEventListener([this](const xcb_generic_event_t& event) { onEvent(event); });
}

void X11Monitors::onEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & ~0x80;
    const bool rootConfigured = type == XCB_CONFIGURE_NOTIFY &&
                                reinterpret_cast<const xcb_configure_notify_event_t&>(event).window == connection_.root();
    if (rootConfigured || (randrFirstEvent_ != 0 && (type == randrFirstEvent_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                                     type == randrFirstEvent_ + XCB_RANDR_NOTIFY))) {
        rootSpace_.reset();
        rootSize_.reset();
        changed();
        return;
    }
    if (type != XCB_PROPERTY_NOTIFY) return;
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    auto* ewmh = connection_.ewmh();
    if (notify.window == connection_.root()) {
        if (notify.atom == ewmh->_NET_CLIENT_LIST) {
            changed();
        } else if (notify.atom == ewmh->_NET_WORKAREA || notify.atom == ewmh->_NET_CURRENT_DESKTOP ||
                   notify.atom == ewmh->_NET_NUMBER_OF_DESKTOPS ||
                   connection_.atomName(notify.atom).rfind("_GTK_WORKAREAS_D", 0) == 0) {
            changed();
        }
    } else if (notify.atom == ewmh->_NET_WM_STRUT_PARTIAL || notify.atom == ewmh->_NET_WM_STRUT) {
        changed();
    }
}

void X11Monitors::changed() {
    monitors_.reset();
    if (onChange_) onChange_();
}

Size X11Monitors::rootSize() {
    if (rootSize_) return *rootSize_;
    // The setup's size is that of connection time; RandR may have changed it since.
    auto geometry = waitForReply(connection_.xcb(), xcb_get_geometry_reply, xcb_get_geometry(connection_.xcb(), connection_.root()));
    rootSize_ = geometry ? Size{double(geometry->width), double(geometry->height)}
                         : Size{double(connection_.screen()->width_in_pixels), double(connection_.screen()->height_in_pixels)};
    return *rootSize_;
}

std::vector<Monitor> X11Monitors::readBounds(bool withDetails) {
    std::vector<Monitor> monitors;
    int primary = -1;
    if (hasMonitors_) {
        auto reply = waitForReply(connection_.xcb(), xcb_randr_get_monitors_reply,
                                  xcb_randr_get_monitors(connection_.xcb(), connection_.root(), 1));
        if (reply) {
            std::vector<xcb_get_atom_name_cookie_t> names;
            std::vector<std::vector<xcb_randr_output_t>> outputs;
            for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0; xcb_randr_monitor_info_next(&it)) {
                const auto* info = it.data;
                Monitor monitor;
                monitor.bounds = Rect(info->x, info->y, info->width, info->height);
                const auto* outputIds = xcb_randr_monitor_info_outputs(info);
                outputs.emplace_back(outputIds, outputIds + xcb_randr_monitor_info_outputs_length(info));
                monitor.number = outputs.back().empty() || outputs.back().front() == XCB_NONE ? info->name : outputs.back().front();
                if (info->primary && primary < 0) primary = static_cast<int>(monitors.size());
                if (withDetails) names.push_back(xcb_get_atom_name(connection_.xcb(), info->name));
                monitors.push_back(monitor);
            }
            for (std::size_t i = 0; i < names.size(); ++i) {
                auto name = waitForReply(connection_.xcb(), xcb_get_atom_name_reply, names[i]);
                if (name) monitors[i].name.assign(xcb_get_atom_name_name(name.get()), xcb_get_atom_name_name_length(name.get()));
                monitors[i].builtin = isBuiltinName(monitors[i].name);
                for (auto output : outputs[i]) {
                    if (output == XCB_NONE) continue;
                    auto outputInfo = waitForReply(connection_.xcb(), xcb_randr_get_output_info_reply,
                                                   xcb_randr_get_output_info(connection_.xcb(), output, XCB_CURRENT_TIME));
                    if (!outputInfo) continue;
                    const std::string outputName(reinterpret_cast<const char*>(xcb_randr_get_output_info_name(outputInfo.get())),
                                                 xcb_randr_get_output_info_name_length(outputInfo.get()));
                    monitors[i].builtin = monitors[i].builtin || isBuiltinName(outputName);
                }
            }
        }
    }
    if (monitors.empty()) {
        const Size size = rootSize();
        Monitor whole;
        whole.bounds = Rect(0, 0, size.width, size.height);
        whole.name = "screen";
        monitors.push_back(whole);
        return monitors;
    }
    putPrimaryFirst(monitors, primary < 0 ? std::nullopt : std::optional<std::size_t>(primary));
    return monitors;
}

void putPrimaryFirst(std::vector<Monitor>& monitors, std::optional<std::size_t> flagged) {
    if (monitors.empty()) return;
    std::size_t primary = 0;
    if (flagged && *flagged < monitors.size()) {
        primary = *flagged;
    } else {
        auto atOrigin = std::find_if(monitors.begin(), monitors.end(),
                                     [](const Monitor& m) { return m.bounds.minX() == 0 && m.bounds.minY() == 0; });
        if (atOrigin != monitors.end()) primary = static_cast<std::size_t>(atOrigin - monitors.begin());
    }
    const auto at = monitors.begin() + static_cast<std::ptrdiff_t>(primary);
    std::rotate(monitors.begin(), at, at + 1);
}

void X11Monitors::addUsableAreas(std::vector<Monitor>& monitors) {
    const Size root = rootSize();
    auto* ewmh = connection_.ewmh();
    // Both kinds of work area a desktop may publish for the current desktop, in one round trip:
    // per monitor, and one rectangle for all monitors at once.
    std::optional<PendingProperty> perMonitor, shared, desktops;
    std::string perMonitorName;
    const auto desktop = clients_.currentDesktop();
    if (desktop) {
        perMonitorName = "_GTK_WORKAREAS_D" + std::to_string(*desktop);
        perMonitor.emplace(connection_, connection_.root(), connection_.atom(perMonitorName), XCB_ATOM_CARDINAL);
        shared.emplace(connection_, connection_.root(), ewmh->_NET_WORKAREA, XCB_ATOM_CARDINAL);
        desktops.emplace(connection_, connection_.root(), ewmh->_NET_NUMBER_OF_DESKTOPS, XCB_ATOM_CARDINAL, 1);
    }
    // A desktop that publishes per-monitor work areas knows best, where what it says is sane.
    std::vector<bool> found(monitors.size(), false);
    if (auto values = perMonitor ? perMonitor->values32() : std::nullopt; values && values->size() >= 4) {
        const auto areas = workareasFromValues(*values, root);
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            const auto area = workareaOfMonitor(monitors[i].bounds, areas);
            found[i] = area.has_value();
            if (area) monitors[i].usable = *area;
        }
        if (std::find(found.begin(), found.end(), false) != found.end())
            reportRefusedProperty(connection_.root(), perMonitorName,
                                  listOfValues(*values) + ": a work area outside its monitor or without room for windows");
    }
    if (std::find(found.begin(), found.end(), false) == found.end()) return;
    std::optional<Rect> workarea;
    if (auto values = shared ? shared->values32() : std::nullopt) {
        const auto count = desktops->values32();
        workarea = workareaOfDesktop(*values, *desktop,
                                     count && count->size() == 1 ? std::optional(count->front()) : std::nullopt, root);
        if (!workarea)
            reportRefusedProperty(connection_.root(), "_NET_WORKAREA",
                                  listOfValues(*values) + ": not one rectangle per desktop, or that of desktop " +
                                      std::to_string(*desktop) + " not on the screen");
    }
    const auto struts = strutsFittingMonitors(monitors, root);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (!found[i])
            monitors[i].usable = narrowedByWorkarea(usableArea(monitors[i].bounds, struts, root), monitors[i].bounds, workarea);
    }
}

std::vector<Strut> X11Monitors::strutsFittingMonitors(const std::vector<Monitor>& monitors, Size root) {
    const auto windows = clients_.clientList();
    std::vector<PendingProperty> partial, full;
    for (auto window : windows) {
        partial.emplace_back(connection_, window, connection_.ewmh()->_NET_WM_STRUT_PARTIAL, XCB_ATOM_CARDINAL, 12);
        full.emplace_back(connection_, window, connection_.ewmh()->_NET_WM_STRUT, XCB_ATOM_CARDINAL, 4);
    }
    std::vector<Rect> bounds;
    for (const auto& monitor : monitors) bounds.push_back(monitor.bounds);
    std::vector<Strut> struts;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto values = partial[i].values32();
        const bool isPartial = values && values->size() >= 12;
        if (!isPartial) values = full[i].values32();
        if (!values || values->size() < 4) continue;
        const auto strut = Strut::fromValues(*values, root);
        if (strutFitsMonitors(strut, bounds, root)) struts.push_back(strut);
        else
            reportRefusedProperty(windows[i], isPartial ? "_NET_WM_STRUT_PARTIAL" : "_NET_WM_STRUT",
                                  listOfValues(*values) + ": a reserved edge beyond its monitor");
    }
    return struts;
}

std::vector<Monitor> X11Monitors::read() {
    if (!monitors_) {
        auto monitors = readBounds(true);
        addUsableAreas(monitors);
        monitors_ = std::move(monitors);
        rootSpace_ = RootSpace{monitors_->front().bounds};
    }
    return *monitors_;
}

RootSpace X11Monitors::rootSpace() {
    if (!rootSpace_) rootSpace_ = RootSpace{readBounds(false).front().bounds};
    return *rootSpace_;
}

} // namespace platform::x11
