#pragma once
// Printouts sent by e-mail through the mail sender that vat.ini names (MailCommand: the program
// and its fixed arguments, README "Printing and e-mail"). The sender is run from an argument
// vector, never through a shell, so what the operator typed reaches it as plain arguments.

#include <string>
#include <string_view>

namespace sklad {

// The preview's mail key works: a mail sender is configured and the operator has a mail server.
bool POCZTA_DOSTEPNA();

// Runs the mail sender: its configured words, then `text_file` "-to" `address` "-server" M_SMTP
// "-subject" `subject` "-attach" `attachment` (host paths). The address must hold an at sign.
// False, after saying why, when the address is refused or the sender failed.
bool WYSLIJ_POCZTE(std::string_view address, std::string_view text_file, std::string_view subject,
                   std::string_view attachment);

// Alt-E of the preview: asks for the address ("e_mail:", preset from the open contractor) and the
// text ("tekst:"); with E_POCZTA.TXT makes the printout's PDF and mails it. True when the preview
// is to close.
bool POCZTA_WYDRUKU(std::string_view spool);

}  // namespace sklad
