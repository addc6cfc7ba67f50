// Loaded into KWin by Tindro Zevad: reports where the cursor is on the whole
// desktop to the program, which a Wayland client cannot ask itself, with the
// desktop's width in KWin's logical pixels. The first motion after a rest is
// reported at once (the dwell delay counts from the program's next look);
// while the cursor keeps moving, at most one report per 30 ms, the last place
// always reported; none while it rests.
function report() {
    // KWin 6's cursorPos has fractional places; "| 0" sends whole numbers, as
    // the program's report(int, int, int) takes, in KWin 5 and 6 alike.
    var place = workspace.cursorPos;
    callDBus("org.tindrozevad.PointerReport", "/org/tindrozevad/PointerReport",
             "org.tindrozevad.PointerReport", "report", Math.round(place.x) | 0,
             Math.round(place.y) | 0, workspace.virtualScreenSize.width | 0);
}

var movedSince = false;  // since the last report, within the 30 ms
var spacing = new QTimer();
spacing.singleShot = true;
spacing.interval = 30;
spacing.timeout.connect(function () {
    if (movedSince) {
        movedSince = false;
        report();
        spacing.start();
    }
});
workspace.cursorPosChanged.connect(function () {
    if (spacing.active) {
        movedSince = true;
    } else {
        report();
        spacing.start();
    }
});
report();
