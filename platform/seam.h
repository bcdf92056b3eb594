#pragma once

namespace blikon {

// The program's seams, one locator for all of them: seam<Registry>() is the registry a
// test has put in with replaceSeam<Registry>(&fake), or else the real one, made on first
// use and kept for the rest of the run; replaceSeam<Registry>(nullptr) restores it.
// Each seam's header declares its seam() beside the interface, and the file of its real
// class defines it with activeSeam:
//   template <> Registry& seam<Registry>() { return activeSeam<Registry, PlatformRegistry>(); }
template <typename Seam>
Seam& seam();

template <typename Seam>
Seam*& seamReplacement()
{
    static Seam* replacement = nullptr;
    return replacement;
}

template <typename Seam>
void replaceSeam(Seam* replacement)
{
    seamReplacement<Seam>() = replacement;
}

// The seam a test has put in, or else the one real `Real`, made on first use.
template <typename Seam, typename Real>
Seam& activeSeam()
{
    if (Seam* replacement = seamReplacement<Seam>())
        return *replacement;
    static Real real;
    return real;
}

}  // namespace blikon
