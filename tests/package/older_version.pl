#!/usr/bin/perl
# older_version.pl IN OUT
# Copies a Windows program, giving it the file and product version 0.1.0.0
# in its version resource, older than any release. Nothing else changes, so
# the copy is the size of the original and runs as it does.
use strict;
use warnings;

my ($in, $out) = @ARGV;
open(my $source, '<:raw', $in) or die "$in: $!\n";
my $bytes = do { local $/; <$source> };
close($source);

# VS_FIXEDFILEINFO: signature, structure version, then the file version and
# the product version as two little-endian DWORDs each (major.minor in the
# high and low word of the first, patch.tweak in the second).
my $old = pack('v4', 1, 0, 0, 0);
$bytes =~ s/(\xBD\x04\xEF\xFE.{4}).{16}/$1$old$old/s
    or die "$in: no version resource\n";

open(my $target, '>:raw', $out) or die "$out: $!\n";
print {$target} $bytes;
close($target) or die "$out: $!\n";
