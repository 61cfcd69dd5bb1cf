// The page's side of Page.h: the C++ faces' calls, made into calls on the page's `Page` object.
mergeInto(LibraryManager.library, {
    $text: function(at) {
        const end = HEAPU8.indexOf(0, at);
        // Every character is shown, a leading byte-order mark too.
        return new TextDecoder('utf-8', {ignoreBOM: true}).decode(HEAPU8.subarray(at, end));
    },
    page_caption__deps: ['$text'],
    page_caption: function(w, id, t) { Page.caption(w, id, text(t)); },
    page_bounds: function(w, id, i, l, t, wd, h) { Page.bounds(w, id, i, l, t, wd, h); },
    page_spoken__deps: ['$text'],
    page_spoken: function(w, id, name) { Page.spoken(w, id, text(name)); },
    page_focus: function(w, id, i) { Page.focus(w, id, i); },
    page_focused: function(w) { return Page.focused(w); },
    page_measure__deps: ['$text'],
    page_measure: function(w, id, t, size) { HEAP32.set(Page.measure(w, id, text(t)), size >> 2); },
    page_message__deps: ['$text'],
    page_message: function(w, title, t) { Page.message(w, text(title), text(t)); },
    page_unload: function(w) { Page.unload(w); },
    page_arranged: function(which, w, h, dpi) { Page.arranged(which, w, h, dpi); },
    page_enabled: function(id, i, on) { Page.enabled(id, i, on); },
    page_picture: function(rgba, w, h) {
        Page.picture(
            rgba ? new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + w * h * 4)) : null, w, h);
    },
    page_alert: function(id) { Page.alert(id); },
    page_announce__deps: ['$text'],
    page_announce: function(t) { Page.announce(text(t)); },
    page_title__deps: ['$text'],
    page_title: function(t) { Page.title(text(t)); },
    page_show_about: function() { Page.showAbout(); },
    page_list_refused__deps: ['$text'],
    page_list_refused: function(why) { Page.listRefused(text(why)); },
});
