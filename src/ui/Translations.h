#pragma once
// The languages of the interface: Russian, the language the texts are written in, or English
// from our own translation. The toolkit's dialogs (the file dialogs' titles and buttons) speak
// the same language through Qt's translations. A change reaches every window at once through
// QEvent::LanguageChange. What the program writes into files is never translated.

#include <string_view>

enum class Language { Russian, English };

/// Puts the interface in language now. False when a translation it needs is missing: our own
/// is built in, so that means Qt's translations are not installed and its dialogs stay English.
bool SetLanguage(Language language);
Language CurrentLanguage();

/// The language chosen in an earlier run; Russian when none was chosen. The choice is the one
/// setting the editor keeps (QSettings "Kestrova"/"Kestrova": ~/.config/Kestrova/Kestrova.conf).
Language RememberedLanguage();
void RememberLanguage(Language language);

/// The file beside the program that describes the slots in language.
std::string_view SlotDescriptionsFile(Language language);
