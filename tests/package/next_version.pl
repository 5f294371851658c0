#!/usr/bin/perl
# next_version.pl IN OUT
# Copies a Windows program, raising the patch number of the file and product
# versions in its version resource by one. Nothing else changes, so the copy
# runs as the original does.
use strict;
use warnings;

my ($in, $out) = @ARGV;
open(my $source, '<:raw', $in) or die "$in: $!\n";
my $bytes = do { local $/; <$source> };
close($source);

# VS_FIXEDFILEINFO: signature, structure version, then the file version and
# the product version as two little-endian DWORDs each. The patch number is
# the high word of the second DWORD.
sub bump { return pack('V', unpack('V', $_[0]) + 0x10000); }
$bytes =~ s/(\xBD\x04\xEF\xFE.{8})(.{4})(.{4})(.{4})/$1 . bump($2) . $3 . bump($4)/se
    or die "$in: no version resource\n";

open(my $target, '>:raw', $out) or die "$out: $!\n";
print {$target} $bytes;
close($target) or die "$out: $!\n";
