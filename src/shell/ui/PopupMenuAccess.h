// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenu;
class QWidget;

// A menu a page pops up (a button's menu, a context menu) is a window of its own, and the
// accessibility tree lists no popup windows: a screen reader walking the tree never finds
// it. Attached to the page that owns it, an open menu is listed as the page's last child.
namespace PopupMenuAccess {

// `menu` must be a child of `host`, a plain container widget (a tool's page); call before
// the host is first asked for over the accessibility bus, i.e. while building it.
void attach(QWidget* host, QMenu* menu);

} // namespace PopupMenuAccess
