#pragma once

class QWidget;

// Replaces the text ids that a window carries in its design by the texts of the current language:
// the window's "tag" property gives its title; each label's "tag" its text; each other control's
// "tag" (when above 0) its caption; a numeric tool tip its tool tip; a menu entry's numeric text
// its text; a toolbar button's numeric tool tip its tool tip; a list header's tag (Qt::UserRole)
// its header text. Each step that cannot be applied is skipped on its own and leaves the design
// text in place. Running it again changes nothing.
void LocaliseForm(QWidget *window);

class QAction;
class QObject;

// Design-time ids, as a window's design carries them before LocaliseForm runs.
void setTagId(QObject *control, int id);     // the "tag" property
void setToolTipId(QWidget *control, int id); // the tool tip holds the id
void setMenuId(QAction *entry, int id);      // the menu entry's text holds the id
