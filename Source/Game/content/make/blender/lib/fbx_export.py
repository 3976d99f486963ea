"""Blender side of every content script that makes FBX files: an empty scene, meshes built from plain
vertex and face lists, and one export that the game's importer reads as authored.

Conventions (checked by the content tests through the engine's own loader):
- 1 Blender unit is 1 game unit (a centimetre). Blender X is the game's x (right), Blender Z the
  game's y (up), Blender Y the game's z (into the screen, away from the camera). Blender's front view
  is the game's view.
- The importer reads vertices as they stand in the file and ignores node transforms, so the export
  bakes every object's transform and the axis change into the vertices (the FBX unit is centimetres,
  scale 1), and objects are triangulated before they are written.
- Every mesh carries one UV layer (the importer refuses meshes without one); vertex colours, when
  given, multiply the texture in the game's shaders.

Run inside Blender only (imports bpy).
"""
import datetime

import bmesh
import bpy
import io_scene_fbx.export_fbx_bin as fbx_binary
from mathutils import Matrix

# Same input, same bytes: the file's creation stamp is fixed (and the exporter's ids follow Python's
# string hash, so run Blender with PYTHONHASHSEED=0), so regenerating leaves unchanged models alone.
_write_header = fbx_binary.fbx_header_elements


def _header_with_fixed_time(root, scene_data, time=None):
    return _write_header(root, scene_data, datetime.datetime(2000, 1, 1))


fbx_binary.fbx_header_elements = _header_with_fixed_time


def reset_scene():
    bpy.ops.wm.read_factory_settings(use_empty=True)
    scene = bpy.context.scene
    scene.unit_settings.system = "NONE"
    scene.unit_settings.scale_length = 1.0
    return scene


def make_mesh_object(name, vertices, faces, uvs=None, colours=None, smooth=False):
    """An object at the origin with identity transform.

    vertices: [(x, y, z)]; faces: [(i, j, k, ...)] counter-clockwise seen from outside;
    uvs: per face, a list of (u, v) per corner (Blender UV, v up); colours: per face, a list of
    (r, g, b, a) per corner, or None.
    """
    mesh = bpy.data.meshes.new(name)
    mesh.from_pydata([tuple(v) for v in vertices], [], [tuple(f) for f in faces])
    uv_layer = mesh.uv_layers.new(name="UVMap")
    loop = 0
    for f, face in enumerate(faces):
        for c in range(len(face)):
            uv_layer.data[loop].uv = uvs[f][c] if uvs else (0.0, 0.0)
            loop += 1
    if colours:
        attribute = mesh.color_attributes.new(name="Col", type="BYTE_COLOR", domain="CORNER")
        loop = 0
        for f, face in enumerate(faces):
            for c in range(len(face)):
                attribute.data[loop].color = colours[f][c]
                loop += 1
    for polygon in mesh.polygons:
        polygon.use_smooth = smooth
    mesh.validate()
    mesh.update()
    obj = bpy.data.objects.new(name, mesh)
    bpy.context.scene.collection.objects.link(obj)
    return obj


def apply_transforms(obj):
    """Bakes the object's own transform into its mesh, so the file's node transform is the identity."""
    obj.data.transform(obj.matrix_world)
    obj.matrix_world = Matrix.Identity(4)


def triangulate(obj):
    bm = bmesh.new()
    bm.from_mesh(obj.data)
    bmesh.ops.triangulate(bm, faces=bm.faces[:], quad_method="BEAUTY", ngon_method="BEAUTY")
    bm.to_mesh(obj.data)
    bm.free()
    obj.data.update()


def export_fbx(path, objects, object_types=("MESH",), bake_anim=False):
    """Writes the objects (and nothing else) to one FBX file.

    Static meshes keep the defaults. Scripts that write skinned meshes pass their armature in objects,
    object_types=("MESH", "ARMATURE") and bake_anim as they need; their meshes are still baked and
    triangulated here, their armatures are written as posed.
    """
    for obj in bpy.context.scene.objects:
        obj.select_set(False)
    for obj in objects:
        if obj.type == "MESH":
            apply_transforms(obj)
            triangulate(obj)
        obj.select_set(True)
    bpy.context.view_layer.objects.active = objects[0]
    bpy.ops.export_scene.fbx(
        filepath=path,
        use_selection=True,
        object_types=set(object_types),
        apply_unit_scale=False,
        apply_scale_options="FBX_SCALE_NONE",
        global_scale=0.01,  # with the exporter's own x100, one Blender unit stays one centimetre
        axis_forward="-Z",
        axis_up="Y",
        bake_space_transform=True,
        use_mesh_modifiers=True,
        mesh_smooth_type="FACE",
        use_tspace=False,
        add_leaf_bones=False,
        bake_anim=bake_anim,
        path_mode="STRIP",
        embed_textures=False,
        colors_type="LINEAR",
    )
