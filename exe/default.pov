#version 3.7;
// Scene template of wavra's POV-Ray export. wavra copies this text to the
// top of every scene it writes to pov/ and adds the ground plane, the camera,
// the light, the wires (union of cylinders and spheres) and the far-field
// pattern (mesh) after it. Edit the values below to change the look; the
// exported statements use every identifier declared here.
//
// Scene units: the geometry view's half picture size is 100 units, so a
// camera cdist units away with a field of view of cang degrees shows about
// what the view shows. The scene's y axis is the model's height (z).

global_settings { assumed_gamma 1.0 }
// A dark sky, so that the copper wires and the pattern's skin stand out.
background { color rgb <0.07, 0.09, 0.14> }

#declare cdist  = 1000;  // camera distance from the point looked at
#declare cang   = 15.2;  // camera field of view, degrees (horizontal)
#declare height = 10;    // over ground the camera looks this far above the target
#declare ldist  = 2000;  // light distance from the point looked at
#declare dTHE   = 0.35;  // light offset from the camera in elevation, radians
#declare dPHI   = 0.50;  // light offset from the camera in azimuth, radians
#declare lcolor = rgb <1.0, 1.0, 1.0>;

// A soft fill light from above so that faces turned away from the main
// light keep some shape.
light_source { <0, 3000, 0> color rgb <0.30, 0.32, 0.38> shadowless }

// Perfect ground: a bright metal-like checker of 100-unit tiles.
#declare PerfGnd = texture {
    pigment { checker color rgb <0.70, 0.70, 0.72> color rgb <0.55, 0.55, 0.58> scale 100 }
    finish { ambient 0.15 diffuse 0.7 reflection 0.15 }
}
// Finite (real) ground: a dull earth colour.
#declare FiniGnd = texture {
    pigment { checker color rgb <0.45, 0.55, 0.30> color rgb <0.40, 0.50, 0.27> scale 100 }
    finish { ambient 0.15 diffuse 0.8 }
}
// The wires: bright copper, lit from within a little so that they read
// against the dark sky and through the pattern.
#declare Geometry = texture {
    pigment { color rgb <1.00, 0.55, 0.15> }
    finish { ambient 0.45 diffuse 0.6 specular 0.8 roughness 0.01 metallic }
}
// The far-field pattern: a saturated, partly transparent skin whose
// highlights show its shape.
#declare Pattern = texture {
    pigment { color rgbt <0.10, 0.60, 1.00, 0.45> }
    finish { ambient 0.12 diffuse 0.75 specular 0.7 roughness 0.015 phong 0.3 }
}

