// SPDX-License-Identifier: GPL-3.0-or-later
// Before another program replaces the editor's text (New, Open, an
// example), changes not saved are saved, dropped or kept, as the user
// chooses: the desktop's window asks the same.
const $ = (id) => document.getElementById(id);

// unsaved(): whether the text holds such changes; save(): downloads it.
// Resolves true when the text may be replaced.
export async function mayReplace(unsaved, save) {
    if (!unsaved()) return true;
    const dialog = $('unsaved');
    dialog.returnValue = '';
    dialog.showModal();
    await new Promise((resolve) => dialog.addEventListener('close', resolve, { once: true }));
    if (dialog.returnValue === 'save') await save();
    return dialog.returnValue === 'save' || dialog.returnValue === 'discard';
}
