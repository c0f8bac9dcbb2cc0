<?php
// Sends one message through Symfony Mailer's SendmailTransport with the
// command given as the first argument, as a Symfony application does;
// prints "sent" once send() has returned. An exception ends PHP with 255.
require '/usr/share/php/Symfony/Component/Mailer/autoload.php';  // Debian's

use Symfony\Component\Mailer\Transport\SendmailTransport;
use Symfony\Component\Mime\Email;

$email = (new Email())
    ->from('me@example.org')
    ->to('to@example.org')
    ->subject("Gr\u{FC}\u{DF}e from Symfony")
    ->text("First line\n.dot line\nLast line\n")
    ->attach(str_repeat("\x00\x01\xFE mailview ", 40), 'data.bin',
             'application/octet-stream');
(new SendmailTransport($argv[1]))->send($email);
echo "sent\n";
