// Loaded into KWin by Tindro Zevad: reports where the cursor is on the whole
// desktop to the program, which a Wayland client cannot ask itself, with the
// desktop's width in KWin's logical pixels. Reports are coalesced to one per
// 30 ms while the cursor moves, none while it rests.
function report() {
    // KWin 6's cursorPos has fractional places; "| 0" sends whole numbers, as
    // the program's report(int, int, int) takes, in KWin 5 and 6 alike.
    var place = workspace.cursorPos;
    callDBus("org.tindrozevad.PointerReport", "/org/tindrozevad/PointerReport",
             "org.tindrozevad.PointerReport", "report", Math.round(place.x) | 0,
             Math.round(place.y) | 0, workspace.virtualScreenSize.width | 0);
}

var pending = new QTimer();
pending.singleShot = true;
pending.interval = 30;
pending.timeout.connect(report);
workspace.cursorPosChanged.connect(function () {
    if (!pending.active) {
        pending.start();
    }
});
report();
