#!/usr/bin/env bash
# Makes a throwaway code-signing certificate for the tests in FOLDER: an
# authority of its own (ca.pem), and a certificate it issued for code
# signing with its key in signing.pfx, under the password in the file password.
set -eu
folder=$1
mkdir -p "$folder"
cd "$folder"
umask 077
openssl rand -hex 16 >password
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 30 -subj "/CN=Vorlane test authority" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signing.key -out signing.csr -subj "/O=Telmaric/CN=Vorlane test" 2>/dev/null
printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signing.ext
openssl x509 -req -in signing.csr -CA ca.pem -CAkey ca.key -days 30 -extfile signing.ext -out signing.pem 2>/dev/null
openssl pkcs12 -export -inkey signing.key -in signing.pem -certfile ca.pem -out signing.pfx -passout file:password
