#pragma once

namespace blikon {

// The seam a test has put in, or else the real one of type `Real`, made on first use
// and kept for the rest of the run. Example: activeSeam<QtFileSystem>(replacement)
// gives *replacement while it is set, else the one real QtFileSystem.
template <typename Real, typename Seam>
Seam& activeSeam(Seam* replacement)
{
    static Real real;
    return replacement ? *replacement : real;
}

}  // namespace blikon
