// SdlPlatform.cpp: placeholder until the SDL backend lands.
