#!/bin/sh
# Says hello, tells whether standard input is open, and ends with status 3.
echo hello
if [ -e /proc/$$/fd/0 ]; then echo "input open"; else echo "no input"; fi
exit 3
