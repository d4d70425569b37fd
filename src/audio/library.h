// Beyond the calls the program makes: closing the library, which process
// exit does by itself and tests do between cases.
#pragma once

void audio_library_close();
