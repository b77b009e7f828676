#pragma once

namespace zentaris::tutorial {

// Hands the heap the program has freed back to the system. The allocator keeps freed memory for
// later; the tutorial's pictures, fonts and films are gone once it closes, and a tray program that
// runs all session long should shrink back towards its idle size instead of keeping their room.
void giveFreedHeapBack();

// How often the freed heap was handed back since the program started.
int freedHeapGivenBackCount();

} // namespace zentaris::tutorial
