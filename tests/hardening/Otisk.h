// Snapshots of what a run could change: every entry of a drive (name,
// attributes, size, time, and the contents of every file outside the
// system folder) and the registry trees the program and the shell use. Two
// snapshots compared give the paths that appeared, went away or changed.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace hardening {

// Path (or key path and value name) to a description of its state.
using Otisk = std::map<std::wstring, std::wstring>;

// The tree below koren, entries whose path starts with one of vynechat
// (compared without regard to case) left out.
Otisk OtiskDisku(const std::wstring& koren, const std::vector<std::wstring>& vynechat = {});

// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE\SOFTWARE, every key and value,
// saved by the registry itself (or, where saving is refused, walked key by
// key). Left out: the time each key was last written, and Wine's own
// settings under Software\Wine (see Sum in Otisk.cpp).
Otisk OtiskRegistru();

// "+path", "-path" and "~path: before -> after", sorted by path.
std::vector<std::wstring> Rozdily(const Otisk& pred, const Otisk& po);

// The differences whose path does not start with any of the given prefixes.
std::vector<std::wstring> RozdilyMimo(const Otisk& pred, const Otisk& po,
                                      const std::vector<std::wstring>& povolene);

// Sets environment variables of the driver for as long as the object lives,
// so that a program started meanwhile inherits them.
class DocasneProstredi {
public:
    DocasneProstredi(std::initializer_list<std::pair<std::wstring, std::wstring>> promenne);
    ~DocasneProstredi();
    DocasneProstredi(const DocasneProstredi&) = delete;
    DocasneProstredi& operator=(const DocasneProstredi&) = delete;

private:
    std::vector<std::pair<std::wstring, std::wstring>> puvodni_;
};

}  // namespace hardening
