#pragma once
// Checks a layout table before any window is made from it: every container
// is a frame or picture box of the same table, names are unique, and no row
// sets a field that its kind does not use. constexpr, so that a table known
// at compile time is checked by a static_assert next to it.
#include <span>

#include "ui/layout.h"

namespace bv::ui {

struct LayoutError {
    const char* problem = nullptr;  // null: the layout is sound
    const char* control = nullptr;  // the row at fault
    constexpr explicit operator bool() const { return problem != nullptr; }
};

namespace check {

constexpr bool same(const char* a, const char* b) {
    if (!a || !b)
        return a == b;
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

enum Field : unsigned {
    Text = 1u << 0,
    FontFace = 1u << 1,
    Fore = 1u << 2,
    Back = 1u << 3,
    Transparent = 1u << 4,
    Edit = 1u << 5,  // read-only, multi-line, vertical scroll bar
    Centered = 1u << 6,
    Wrap = 1u << 7,
    BorderLine = 1u << 8,
    Stretch = 1u << 9,
    Picture = 1u << 10,
    Tooltip = 1u << 11,
    Mouse = 1u << 12,
    Range = 1u << 13,  // min, max, value, changes, ticks
    Timing = 1u << 14,
    Tab = 1u << 15,
};

// The fields each kind uses; the one list to extend for a new kind.
constexpr unsigned fieldsOf(Kind kind) {
    switch (kind) {
        case Kind::Label:
            return Text | FontFace | Fore | Back | Transparent | Centered | Wrap | Tab;
        case Kind::TextBox:
            return Text | FontFace | Edit | Centered | Tab;
        case Kind::Button:
            return Text | FontFace | Tab;
        case Kind::Frame:
            return Text | FontFace | Back | Tab;
        case Kind::PictureBox:
            return Back | BorderLine | Tab;
        case Kind::Image:
            return Picture | BorderLine | Stretch | Tooltip | Mouse;
        case Kind::Timer:
            return Timing;
        case Kind::Slider:
            return Range | Tab;
        case Kind::NoteBox:
            return Text | Tab;
        case Kind::FileDialog:
            return 0;
    }
    return 0;
}

constexpr unsigned fieldsSet(const ControlSpec& c) {
    const ControlSpec d{};
    unsigned set = 0;
    auto mark = [&set](bool differs, unsigned field) {
        if (differs)
            set |= field;
    };
    mark(!same(c.text, d.text), Text);
    mark(!same(c.font.face, d.font.face) || c.font.points != d.font.points ||
             c.font.bold != d.font.bold,
         FontFace);
    mark(c.foreColor != d.foreColor, Fore);
    mark(c.backColor != d.backColor, Back);
    mark(c.transparent != d.transparent, Transparent);
    mark(c.readOnly != d.readOnly || c.multiLine != d.multiLine || c.vScroll != d.vScroll, Edit);
    mark(c.centered != d.centered, Centered);
    mark(c.wrap != d.wrap, Wrap);
    mark(c.border != d.border, BorderLine);
    mark(c.stretch != d.stretch, Stretch);
    mark(c.picture.type != d.picture.type || c.picture.resource != d.picture.resource, Picture);
    mark(c.tooltip != nullptr, Tooltip);
    mark(c.pointer != d.pointer, Mouse);
    mark(c.min != d.min || c.max != d.max || c.value != d.value || c.smallChange != d.smallChange ||
             c.largeChange != d.largeChange || c.ticks != d.ticks,
         Range);
    mark(c.interval != d.interval || c.enabled != d.enabled, Timing);
    mark(c.tabIndex != d.tabIndex, Tab);
    return set;
}

constexpr const ControlSpec* find(std::span<const ControlSpec> rows, const char* name) {
    for (const ControlSpec& row : rows)
        if (same(row.name, name))
            return &row;
    return nullptr;
}

}  // namespace check

constexpr LayoutError checkLayout(std::span<const ControlSpec> rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlSpec& row = rows[i];
        if (!row.name || !*row.name)
            return {"a control without a name", ""};
        for (std::size_t j = 0; j < i; ++j)
            if (check::same(rows[j].name, row.name))
                return {"two controls of the same name", row.name};
        if (check::fieldsSet(row) & ~check::fieldsOf(row.kind))
            return {"a field that its kind does not use", row.name};
        if (row.kind == Kind::Slider &&
            (row.min > row.max || row.value < row.min || row.value > row.max))
            return {"a slider value outside its range", row.name};
        // Up the chain of containers: each a frame or picture box, no loop.
        const ControlSpec* at = &row;
        for (std::size_t steps = 0; at->container; ++steps) {
            const ControlSpec* holder = check::find(rows, at->container);
            if (!holder || (holder->kind != Kind::Frame && holder->kind != Kind::PictureBox))
                return {"a container that is no frame or picture box of the window", row.name};
            if (steps == rows.size())
                return {"containers that hold one another", row.name};
            at = holder;
        }
    }
    return {};
}

constexpr LayoutError checkLayout(const FormSpec& form) {
    if (!form.name || !form.caption)
        return {"a window without name or caption", form.name ? form.name : ""};
    for (std::size_t i = 0; i < form.menu.size(); ++i) {
        if (!form.menu[i].name || !form.menu[i].caption)
            return {"a menu item without name or caption", ""};
        for (std::size_t j = 0; j < i; ++j)
            if (check::same(form.menu[j].name, form.menu[i].name))
                return {"two menu items of the same name", form.menu[i].name};
    }
    return checkLayout(form.controls);
}

}  // namespace bv::ui
