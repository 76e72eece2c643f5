#pragma once
// Checks a layout table before any window is made from it: every container
// is a frame or picture box of the same table, names are unique, and no row
// sets a field that its kind does not use (KindInfo::fields). constexpr, so that a table known
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

constexpr unsigned fieldsSet(const ControlSpec& c) {
    const ControlSpec d{};
    unsigned set = 0;
    auto mark = [&set](bool differs, unsigned field) {
        if (differs)
            set |= field;
    };
    mark(!same(c.text, d.text), uses::Text);
    mark(!same(c.font.face, d.font.face) || c.font.points != d.font.points ||
             c.font.bold != d.font.bold,
         uses::FontFace);
    mark(c.foreColor != d.foreColor, uses::Fore);
    mark(c.backColor != d.backColor, uses::Back);
    mark(c.transparent != d.transparent, uses::Transparent);
    mark(c.readOnly != d.readOnly || c.multiLine != d.multiLine || c.vScroll != d.vScroll,
         uses::Edit);
    mark(c.centered != d.centered, uses::Centered);
    mark(c.wrap != d.wrap, uses::Wrap);
    mark(c.border != d.border, uses::BorderLine);
    mark(c.stretch != d.stretch, uses::Stretch);
    mark(c.picture.type != d.picture.type || c.picture.resource != d.picture.resource,
         uses::Picture);
    mark(c.tooltip != nullptr, uses::Tooltip);
    mark(c.pointer != d.pointer, uses::Mouse);
    mark(c.min != d.min || c.max != d.max || c.value != d.value || c.smallChange != d.smallChange ||
             c.largeChange != d.largeChange || c.ticks != d.ticks,
         uses::Range);
    mark(c.interval != d.interval || c.enabled != d.enabled, uses::Timing);
    mark(c.tabIndex != d.tabIndex, uses::Tab);
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
        if (!row.kind)
            return {"a control without a kind", row.name};
        if (check::fieldsSet(row) & ~row.kind->fields)
            return {"a field that its kind does not use", row.name};
        if ((row.kind->fields & uses::Range) &&
            (row.min > row.max || row.value < row.min || row.value > row.max))
            return {"a slider value outside its range", row.name};
        // Up the chain of containers: each a frame or picture box, no loop.
        const ControlSpec* at = &row;
        for (std::size_t steps = 0; at->container; ++steps) {
            const ControlSpec* holder = check::find(rows, at->container);
            if (!holder || !holder->kind || !holder->kind->holdsControls)
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
