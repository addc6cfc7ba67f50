// Loaded into KWin by Tindro Zevad: reports where the cursor is on the whole
// desktop to the program, which a Wayland client cannot ask itself, with the
// desktop's width in KWin's logical pixels. Reports are coalesced to one per
// 30 ms while the cursor moves, none while it rests.
function report() {
    var place = workspace.cursorPos;
    callDBus("org.tindrozevad.PointerReport", "/org/tindrozevad/PointerReport",
             "org.tindrozevad.PointerReport", "report", place.x, place.y,
             workspace.virtualScreenSize.width);
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
