#pragma once

#include <array>
#include <cstddef>

namespace tarv::core {

// The rows of the key help screen, in the order they are shown.
enum class KeyHelpItem {
    moveInLists, switchPane, switchTab, includeFile, openDiffPane, scrollDiff, jumpHunk,
    filterFiles, commitShortcut, closeDialogs, suspend, quitShortcut, toggleHunk, toggleLineKey,
    mouseGutter, keepCurrent, keepIncoming, keepBoth, jumpConflict, markFileResolved, mouseClick,
    mouseDoubleClick, mouseRightClick, mouseWheel, selectionHint, backToList,
};

inline constexpr std::size_t keyHelpItemCount = 26;

inline constexpr std::array<KeyHelpItem, keyHelpItemCount> allKeyHelpItems = {
    KeyHelpItem::moveInLists, KeyHelpItem::switchPane, KeyHelpItem::switchTab,
    KeyHelpItem::includeFile, KeyHelpItem::openDiffPane, KeyHelpItem::scrollDiff,
    KeyHelpItem::jumpHunk, KeyHelpItem::filterFiles, KeyHelpItem::commitShortcut,
    KeyHelpItem::closeDialogs, KeyHelpItem::suspend, KeyHelpItem::quitShortcut,
    KeyHelpItem::toggleHunk, KeyHelpItem::toggleLineKey, KeyHelpItem::mouseGutter,
    KeyHelpItem::keepCurrent, KeyHelpItem::keepIncoming, KeyHelpItem::keepBoth,
    KeyHelpItem::jumpConflict, KeyHelpItem::markFileResolved, KeyHelpItem::mouseClick,
    KeyHelpItem::mouseDoubleClick, KeyHelpItem::mouseRightClick, KeyHelpItem::mouseWheel,
    KeyHelpItem::selectionHint, KeyHelpItem::backToList,
};

}  // namespace tarv::core
