// Identifiers of the resources in the program's own file. Plain #defines so
// that the resource compiler reads them too.
#pragma once

#define IDR_SPRITE 123          /* RCDATA: the flake sprite, a PNG */
#define IDR_NOISE_FIRST 129     /* RCDATA: PERLINDATA noise tables 129..132 */
#define IDR_NOISE_LAST 132
#define IDI_SAVER 133           /* icon group of the program */
#define IDI_CLASS_ICON 100      /* the window class asks for this one (absent) */
#define IDD_CONFIG 2003         /* configuration dialog */
#define IDS_DESCRIPTION 1       /* the saver's description string */

#define IDC_QUANTITY 1000       /* track bar "Particles:" */
#define IDC_SPEED 1002          /* track bar "Wind:" */
#define IDC_RESET 1009          /* button "Reset" */
#define IDC_PARTICLES_LABEL 1010
#define IDC_WIND_LABEL 1012
#define IDC_FEW 1013
#define IDC_MANY 1014
#define IDC_SLOW 1017
#define IDC_FAST 1018
#define IDC_FRACTAL_WIND 1021   /* check box "Fractal Wind" */
