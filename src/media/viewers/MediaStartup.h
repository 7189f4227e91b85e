#pragma once

// What the web engine of the browser window needs before the QApplication exists: the
// shared OpenGL contexts, the program's own URL scheme, and (only when running as root,
// as in tests and CI containers, where the engine refuses to start otherwise) its sandbox
// switched off. Ordinary users keep the sandbox.
void prepareMediaRoom();
