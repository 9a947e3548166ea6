// SPDX-License-Identifier: GPL-3.0-or-later
// F6 and Shift+F6 move the focus from pane to pane (the tool bar, the
// editor, the Output pane, the canvas with its timeline, the pause panels,
// the buttons below), to the first control of each that can take it now.
const FOCUSABLE = 'button, input, select, [tabindex], [contenteditable="true"]';

// The pane itself when it takes the focus (the Output pane), else its first
// control; the editor's text is editable content, which has no tab stop.
function firstControl(pane) {
    return [pane, ...pane.querySelectorAll(FOCUSABLE)].find((e) => e.matches(FOCUSABLE) && !e.disabled &&
        (e.tabIndex >= 0 || e.isContentEditable) && e.getClientRects().length > 0);
}

export function cyclePanes(panes, event) {
    if (event.key !== 'F6' || event.ctrlKey || event.altKey) return false;
    event.preventDefault();
    const from = panes.findIndex((p) => p.contains(document.activeElement));
    const step = event.shiftKey ? -1 : 1;
    for (let i = 1; i <= panes.length; i++) {
        const at = from < 0 ? (step > 0 ? i - 1 : panes.length - i) : (from + step * i + panes.length) % panes.length;
        const control = firstControl(panes[at]);
        if (control) {
            control.focus();
            return true;
        }
    }
    return true;
}
