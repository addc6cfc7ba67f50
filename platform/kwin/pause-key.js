// Loaded into KWin by Tindro Zevad after a line that sets `key`: makes
// key.sequence a global shortcut, under an action named for the key (KDE
// keeps a key once given to an action name), whose presses go to the program.
function tell(method) {
    callDBus(key.program, "/org/tindrozevad/PauseKey", "org.tindrozevad.PauseKey", method);
}

registerShortcut(key.action, "Tindro Zevad: pause or resume clicking", key.sequence, function () {
    tell("pressed");
});
tell("taken");
