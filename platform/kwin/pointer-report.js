// Loaded into KWin by Tindro Zevad: reports where the cursor is on the whole
// desktop to the program, which a Wayland client cannot ask itself. The first
// motion after a rest is reported at once (the dwell delay counts from the
// program's next look); while the cursor keeps moving, at most one report per
// 30 ms, the last place always reported; none while it rests.
function report() {
    var place = workspace.cursorPos;
    callDBus("org.tindrozevad.PointerReport", "/org/tindrozevad/PointerReport",
             "org.tindrozevad.PointerReport", "report", place.x, place.y);
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
