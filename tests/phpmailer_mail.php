<?php
// Sends one message through PHPMailer's isSendmail() with the command given
// as the first argument in $mail->Sendmail, as a PHP application does;
// prints what send() returned. An exception ends PHP with 255.
require '/usr/share/php/libphp-phpmailer/autoload.php';  // Debian's

use PHPMailer\PHPMailer\PHPMailer;

$mail = new PHPMailer(true);
$mail->isSendmail();
$mail->Sendmail = $argv[1];
$mail->CharSet = PHPMailer::CHARSET_UTF8;
$mail->setFrom('me@example.org');
$mail->addAddress('to@example.org');
$mail->Subject = "Gr\u{FC}\u{DF}e from PHPMailer";
$mail->WordWrap = 72;  // breaks the long line at spaces
$mail->Body = "First line\n.dot line\n" . str_repeat('long ', 40) . "end\n"
    . "Gr\u{FC}\u{DF}e, last line\n";
var_dump($mail->send());
