#pragma once

// Applies the visual style at this index of ThemeNames to the whole application. Index 0 (and any index outside
// 0..31) is the platform's own look: the style the platform offered when this was first called, its palette, no
// style sheet. Every other index is Fusion with the scheme's palette and style sheet. Make the first call before
// any other code changes the application style. Windows already open take the new palette when pending events
// are next processed; windows created afterwards start with it.
void ApplyTheme(int index);
