// Loaded into KWin by Tindro Zevad after a line that sets `key`: makes
// key.sequence a global shortcut under an action named for the key (KDE
// keeps the key an action name was first given). The program hears its
// presses and releases from KDE's shortcut service, which tells a held key's
// repeats apart; the action itself does nothing.
registerShortcut(key.action, "Tindro Zevad: pause or resume clicking", key.sequence,
                 function () {});
callDBus(key.program, "/org/tindrozevad/PauseKey", "org.tindrozevad.PauseKey", "taken");
