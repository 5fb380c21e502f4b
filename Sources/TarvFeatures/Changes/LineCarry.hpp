#pragma once

#include <optional>
#include <set>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

// Carrying lines chosen on one diff of a file over to a newer diff of the
// same file (after an editor saved it, say), so that a commit takes exactly
// the lines the user chose and never more.
//
// A line is found again by its kind, its text and its place in the old
// (committed) side of the file:
// - a removed line by its old line number;
// - an added line by the last unchanged old line before it (removed lines
//   right before it do not count, so editing the line after an added one
//   keeps it in place), and among the added lines placed there, in order.
// Lines of the newer diff that nothing was carried to are new and stay
// unchosen.
namespace tarv::features::LineCarry {

// The lines of `newer` that are the `chosen` lines of `older`: as many as
// were chosen. None when a chosen line has no counterpart in `newer` (it was
// edited, reverted or moved), so that the caller drops the choice instead of
// guessing.
std::optional<std::set<core::LineRef>> carry(const core::Diff& older, const std::set<core::LineRef>& chosen,
                                             const core::Diff& newer);

}  // namespace tarv::features::LineCarry
