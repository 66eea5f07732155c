// The four objects every part of the program reaches: created by Main in this order, released by
// Dispose. Outside Main..Dispose the pointers are null.
#pragma once

namespace velmora {
class File;
class Reg;
class Settings;
class Language;

struct SharedObjects {
    File* file = nullptr;
    Reg* reg = nullptr;
    Settings* settings = nullptr;
    Language* language = nullptr;
};

SharedObjects& Shared();

} // namespace velmora
