#pragma once

namespace blikon {

class DocumentWindow;

// "Uložit animaci &GIF…": builds the code text as F9 does (errors in the error list, an
// empty program refused), asks for a name (the code file's with .gif, or "animace.gif";
// a file that exists is replaced only when the user agrees), records the effect on the
// simulated board at the chosen crystal and writes it as an animated GIF of the board,
// atomically like every save; a file that cannot be written is reported like a failed
// save. The recording runs while the windows stay usable, with a progress dialog for a
// long effect. When the effect had more than 2,000 images the user is told that the GIF
// holds only the first ones.
void saveGifAnimation(DocumentWindow& window);

}  // namespace blikon
